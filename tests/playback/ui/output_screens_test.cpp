#include "playback/ui/output_screens.h"

#include "playback/ui/key_output_window.h"
#include "playback/ui/stage.h"
#include "playback/ui/window_output.h"
#include "stage_context.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

// A stage placed by the output choice, with a page of one title ready to play.
struct OutputRig : test::StageContext {
    QWidget mainWidget;
    std::unique_ptr<TCan> stage;
    std::unique_ptr<OutputScreens> outputs;

    OutputRig()
    {
        context.mainWidget = &mainWidget;
        stage = std::make_unique<TCan>(context);
        outputs = std::make_unique<OutputScreens>(*stage, ws);
        stage->setPlacement(outputs.get());
        oneTitlePage();
    }
    QScreen* firstScreen() const { return QGuiApplication::screens().front(); }
    QString firstKey() const { return OutputScreens::screenEntries().front().name; }
};

TEST(OutputScreens, StageTakesTheChosenScreensGeometry)
{
    OutputRig r;
    r.outputs->setStageScreenKey(r.firstKey());
    ASSERT_FALSE(r.firstKey().isEmpty());
    EXPECT_EQ(r.outputs->stageScreen(nullptr), r.firstScreen());
    r.stage->enableStage();
    r.stage->showForPlayback();
    EXPECT_EQ(r.stage->geometry(), r.firstScreen()->geometry());
    // Device pixels: twice the logical width on a screen of ratio 2.
    EXPECT_EQ(r.stage->backBuffer().width(),
              qRound(r.firstScreen()->geometry().width() * r.firstScreen()->devicePixelRatio()));
    EXPECT_TRUE(r.stage->isVisible());
}

TEST(OutputScreens, ScreenRemovedBeforeAPlayFallsBackToTheEditorsScreenWithANotice)
{
    OutputRig r;
    r.outputs->setStageScreenKey(QStringLiteral("unplugged-monitor"));
    QSignalSpy notices(r.outputs.get(), &OutputScreens::notice);
    EXPECT_FALSE(r.outputs->stageLeavesEditorFree(r.mainWidget.screen()));
    r.stage->enableStage();
    r.stage->showForPlayback();
    EXPECT_EQ(r.stage->geometry(), r.mainWidget.screen()->geometry());
    ASSERT_EQ(notices.count(), 1);
    EXPECT_TRUE(notices.front().front().toString().contains(QStringLiteral("unplugged-monitor")));
}

TEST(OutputScreens, ShiftEscapeCutsAtOnce)
{
    OutputRig r;
    r.stage->enableStage();
    r.stage->showForPlayback();
    r.stage->setkillnow(false);
    QTest::keyClick(r.stage.get(), Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_TRUE(r.stage->getkillnow());
    EXPECT_FALSE(r.stage->isEnabledStage());
    EXPECT_FALSE(r.stage->isVisible());
}

TEST(OutputScreens, WindowedOutputKeepsItsCanvasAndScalesWithTheAspectKept)
{
    OutputRig r;
    r.outputs->setWindowCanvas(WindowCanvas::Hd720);
    WindowOutput* window = r.outputs->windowOutput();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(r.outputs->stageLeavesEditorFree(r.mainWidget.screen()));
    r.stage->enableStage();
    r.stage->showForPlayback();
    EXPECT_FALSE(r.stage->isVisible());   // the picture goes to the window instead
    EXPECT_EQ(r.stage->backBuffer().width(), 1280);
    EXPECT_EQ(r.stage->backBuffer().height(), 720);
    window->resize(640, 480);
    EXPECT_EQ(window->pictureRect(), QRect(0, 60, 640, 360));
    window->resize(1000, 360);
    EXPECT_EQ(window->pictureRect(), QRect(180, 0, 640, 360));
    r.stage->closeStage();
}

TEST(OutputScreens, KeysInTheOutputWindowActOnTheStage)
{
    OutputRig r;
    r.outputs->setWindowCanvas(WindowCanvas::Hd720);
    r.stage->enableStage();
    r.stage->showForPlayback();
    r.stage->setkillnow(false);
    QTest::keyClick(r.outputs->windowOutput(), Qt::Key_Escape);
    EXPECT_TRUE(r.stage->getkillnow());
}

TEST(OutputScreens, AlignmentTakesTheWholeScreenEvenWithAWindowedOutput)
{
    OutputRig r;
    r.outputs->setWindowCanvas(WindowCanvas::Hd720);
    r.ws.editor.alignActive = true;
    r.stage->showForPlayback();
    EXPECT_TRUE(r.stage->isVisible());
    QScreen* screen = r.mainWidget.screen();
    EXPECT_EQ(r.stage->backBuffer().width(), qRound(screen->geometry().width() * screen->devicePixelRatio()));
}

// ---- this binary runs itself again on an offscreen desktop of three screens: EDIT, AIR, KEY ----

bool severalScreens() { return QGuiApplication::screens().size() == 3; }

QScreen* screenNamed(const QString& name)
{
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == name)
            return screen;
    return nullptr;
}

TEST(ThreeScreens, StageGoesToTheChosenScreenAndLeavesTheEditorFree)
{
    if (!severalScreens())
        GTEST_SKIP() << "runs on the three-screen desktop";
    OutputRig r;
    r.mainWidget.setScreen(screenNamed(QStringLiteral("EDIT")));
    r.mainWidget.setGeometry(QRect(10, 10, 300, 200));
    r.mainWidget.show();
    QScreen* air = screenNamed(QStringLiteral("AIR"));
    ASSERT_NE(air, nullptr);
    r.outputs->setStageScreenKey(QStringLiteral("AIR"));
    EXPECT_TRUE(r.outputs->stageLeavesEditorFree(r.mainWidget.screen()));
    r.mainWidget.activateWindow();
    QCoreApplication::processEvents();
    r.stage->enableStage();
    r.stage->showForPlayback();
    QCoreApplication::processEvents();
    EXPECT_EQ(r.stage->geometry(), QRect(800, 0, 1280, 720));
    EXPECT_EQ(r.stage->backBuffer().width(), 1280);
    EXPECT_EQ(r.outputs->stageScreen(r.mainWidget.screen()), air);
    EXPECT_EQ(QApplication::activeWindow(), &r.mainWidget) << "the console keeps the keys";
    r.stage->closeStage();
    r.outputs->setStageScreenKey(QString());   // "Same as editor"
    EXPECT_FALSE(r.outputs->stageLeavesEditorFree(r.mainWidget.screen()));
    r.stage->showForPlayback();
    QCoreApplication::processEvents();
    EXPECT_EQ(r.stage->geometry(), QRect(0, 0, 800, 600));
    EXPECT_EQ(QApplication::activeWindow(), r.stage.get()) << "over the editor the stage takes the keys";
}

TEST(ThreeScreens, KeyOutputCoversItsOwnScreen)
{
    if (!severalScreens())
        GTEST_SKIP() << "runs on the three-screen desktop";
    OutputRig r;
    r.outputs->setKeyScreenKey(QStringLiteral("AIR"));
    ASSERT_NE(r.outputs->keyOutput(), nullptr);
    EXPECT_EQ(r.outputs->keyOutput()->geometry(), QRect(800, 0, 1280, 720));
}

// Editor on EDIT, programme on AIR, key on KEY.
struct ThreeScreenRig : OutputRig {
    ThreeScreenRig()
    {
        mainWidget.setScreen(screenNamed(QStringLiteral("EDIT")));
        mainWidget.setGeometry(QRect(10, 10, 300, 200));
        mainWidget.show();
        outputs->setStageScreenKey(QStringLiteral("AIR"));
        outputs->setKeyScreenKey(QStringLiteral("KEY"));
    }
    bool matteIsBlack() const
    {
        const Bitmap& matte = outputs->keyOutput()->matte();
        for (int y = 0; y < matte.height(); y += 2)
            for (int x = 0; x < matte.width(); x += 2)
                if (matte.pixel(x, y) != kBlack)
                    return false;
        return true;
    }
};

TEST(ThreeScreens, OutputsStayBlackBeforeBetweenAndAfterPlaysAndWhileAligning)
{
    if (!severalScreens())
        GTEST_SKIP() << "runs on the three-screen desktop";
    ThreeScreenRig r;
    QWidget* standby = r.outputs->standby();
    ASSERT_NE(standby, nullptr);
    ASSERT_NE(r.outputs->keyOutput(), nullptr);
    const auto blackOnAir = [&] {
        return standby->isVisible() && standby->geometry() == QRect(800, 0, 1280, 720) &&
               standby->palette().color(QPalette::Window) == Qt::black && r.matteIsBlack();
    };
    EXPECT_TRUE(blackOnAir()) << "before a play";
    r.stage->playCurrentPage();
    EXPECT_FALSE(r.stage->isVisible());
    EXPECT_TRUE(blackOnAir()) << "after a play";

    // The alignment screen opens on the editor's screen; its titles never reach the outputs.
    r.ws.editor.alignActive = true;
    r.stage->enableStage();
    r.stage->showForPlayback();
    EXPECT_EQ(r.stage->geometry(), QRect(0, 0, 800, 600));
    Bitmap& back = r.stage->backBuffer();
    back.canvas().brush = {kWhite, BrushStyle::Solid};
    back.canvas().fillRect({10, 10, 200, 100});
    r.stage->present({0, 0, back.width(), back.height()});
    EXPECT_TRUE(blackOnAir()) << "while aligning";
    r.stage->closeStage();
    r.ws.editor.alignActive = false;

    r.outputs->setStageScreenKey(QString());   // "Same as editor": the editor's screen stays free
    EXPECT_EQ(r.outputs->standby(), nullptr);
}

TEST(ThreeScreens, KeyFollowsEveryPresentAndASecondClickBlacksItAndEndsThePageAtOnce)
{
    if (!severalScreens())
        GTEST_SKIP() << "runs on the three-screen desktop";
    ThreeScreenRig r;
    r.ws.page.movementDelay = 1000;
    r.ws.page.line(1).inDir = 5;
    r.ws.page.pauseSecs = 30;
    int mismatches = 0;
    int litPresents = 0;
    QObject::connect(r.stage.get(), &TCan::presented, r.outputs->keyOutput(), [&] {
        const Bitmap& back = r.stage->backBuffer();
        const Bitmap& matte = r.outputs->keyOutput()->matte();
        bool lit = false;
        for (int y = 0; y < back.height(); y += 2)
            for (int x = 0; x < back.width(); x += 2) {
                lit = lit || back.pixel(x, y) != kBlack;
                mismatches += matte.pixel(x, y) != (back.pixel(x, y) != kBlack ? 0x00FFFFFFu : 0u);
            }
        litPresents += lit;
    });
    bool clicked = false;
    Clock::Nanoseconds clickedAt{};
    QObject::connect(r.stage.get(), &TCan::pumping, r.stage.get(), [&] {
        if (clicked || litPresents < 3)
            return;
        clicked = true;
        clickedAt = r.clock.now();
        QTest::mouseClick(r.stage.get(), Qt::LeftButton);   // stop...
        QTest::mouseClick(r.stage.get(), Qt::LeftButton);   // ...and close: the page ends
    });
    r.stage->playCurrentPage();
    ASSERT_TRUE(clicked) << "messages ran while the title moved in";
    EXPECT_EQ(mismatches, 0);
    EXPECT_TRUE(r.matteIsBlack());
    EXPECT_FALSE(r.stage->isVisible());
    EXPECT_LT(r.clock.now() - clickedAt, std::chrono::milliseconds(20)) << "the page went on after the close";
}

TEST(ThreeScreens, KeyOutputIsOfferedNeitherTheEditorsNorTheOutputsScreen)
{
    if (!severalScreens())
        GTEST_SKIP() << "runs on the three-screen desktop";
    ThreeScreenRig r;
    const auto names = [&] {
        QStringList list;
        for (const ScreenEntry& entry : r.outputs->keyScreenChoices())
            list << entry.name;
        return list;
    };
    EXPECT_EQ(names(), QStringList{QStringLiteral("KEY")});
    r.outputs->setKeyScreenKey(QStringLiteral("EDIT"));   // a stored choice of the editor's screen
    EXPECT_EQ(r.outputs->keyOutput(), nullptr);
    r.outputs->setStageScreenKey(QString());
    EXPECT_EQ(names(), (QStringList{QStringLiteral("AIR"), QStringLiteral("KEY")}));
}

TEST(OutputScreens, SeveralScreenCasesPassOnAThreeScreenDesktop)
{
    if (severalScreens())
        GTEST_SKIP() << "already on the three-screen desktop";
    test::TempDir dir;
    const QString config = dir.path() + QStringLiteral("/screens.json");
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"screens":[
        {"name":"EDIT","x":0,"y":0,"width":800,"height":600,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1},
        {"name":"AIR","x":800,"y":0,"width":1280,"height":720,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1},
        {"name":"KEY","x":2080,"y":0,"width":640,"height":480,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
    file.close();
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config);
    env.remove(QStringLiteral("QT_SCALE_FACTOR"));   // the desktop above sets its own ratios
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=ThreeScreens.*")});
    ASSERT_TRUE(run.waitForFinished(-1));
    const QString output = QString::fromLocal8Bit(run.readAll());
    EXPECT_EQ(run.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 5 tests"))) << output.toStdString();
    EXPECT_FALSE(output.contains(QStringLiteral("SKIPPED"))) << output.toStdString();
}

} // namespace
} // namespace lumavo
