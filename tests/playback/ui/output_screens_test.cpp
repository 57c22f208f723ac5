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

TEST(OutputScreens, KeyOutputShowsTheMatteOfThePlayedPageAndKeysNothingOnceTheStageCloses)
{
    OutputRig r;
    r.outputs->setKeyScreenKey(r.firstKey());
    ASSERT_NE(r.outputs->keyOutput(), nullptr);
    EXPECT_TRUE(r.outputs->keyOutput()->isVisible());
    // The key output follows each present; keep the last pair it showed.
    Bitmap back;
    Bitmap matte;
    QObject::connect(r.stage.get(), &TCan::presented, r.outputs->keyOutput(), [&] {
        back = r.stage->backBuffer();
        matte = r.outputs->keyOutput()->matte();
    });
    r.stage->playCurrentPage();
    ASSERT_EQ(matte.width(), back.width());
    ASSERT_EQ(matte.height(), back.height());
    int white = 0;
    for (int y = 0; y < back.height(); ++y)
        for (int x = 0; x < back.width(); ++x) {
            const bool lit = back.pixel(x, y) != kBlack;
            ASSERT_EQ(matte.pixel(x, y), lit ? 0x00FFFFFFu : 0u) << x << "," << y;
            white += lit;
        }
    EXPECT_GT(white, 20);
    int keyedAfterClose = 0;   // the titles left on the closed stage are not keyed
    const Bitmap& closedMatte = r.outputs->keyOutput()->matte();
    for (int y = 0; y < closedMatte.height(); ++y)
        for (int x = 0; x < closedMatte.width(); ++x)
            keyedAfterClose += closedMatte.pixel(x, y) != kBlack;
    EXPECT_EQ(keyedAfterClose, 0);
    r.outputs->setKeyScreenKey(QString());
    EXPECT_EQ(r.outputs->keyOutput(), nullptr);
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

// ---- two screens: this binary runs itself again on an offscreen desktop of two screens ----

bool twoScreens() { return QGuiApplication::screens().size() == 2; }

QScreen* screenNamed(const QString& name)
{
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == name)
            return screen;
    return nullptr;
}

TEST(TwoScreens, StageGoesToTheChosenScreenAndLeavesTheEditorFree)
{
    if (!twoScreens())
        GTEST_SKIP() << "runs on the two-screen desktop";
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

TEST(TwoScreens, KeyOutputCoversItsOwnScreen)
{
    if (!twoScreens())
        GTEST_SKIP() << "runs on the two-screen desktop";
    OutputRig r;
    r.outputs->setKeyScreenKey(QStringLiteral("AIR"));
    ASSERT_NE(r.outputs->keyOutput(), nullptr);
    EXPECT_EQ(r.outputs->keyOutput()->geometry(), QRect(800, 0, 1280, 720));
}

TEST(OutputScreens, TwoScreenCasesPassOnATwoScreenDesktop)
{
    if (twoScreens())
        GTEST_SKIP() << "already on the two-screen desktop";
    test::TempDir dir;
    const QString config = dir.path() + QStringLiteral("/screens.json");
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"screens":[
        {"name":"EDIT","x":0,"y":0,"width":800,"height":600,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1},
        {"name":"AIR","x":800,"y":0,"width":1280,"height":720,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
    file.close();
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config);
    env.remove(QStringLiteral("QT_SCALE_FACTOR"));   // the desktop above sets its own ratios
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=TwoScreens.*")});
    ASSERT_TRUE(run.waitForFinished(-1));
    const QString output = QString::fromLocal8Bit(run.readAll());
    EXPECT_EQ(run.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 2 tests"))) << output.toStdString();
    EXPECT_FALSE(output.contains(QStringLiteral("SKIPPED"))) << output.toStdString();
}

} // namespace
} // namespace lumavo
