#include "app/ui/application.h"

#include "app/app_shell.h"

#include "app/ui/about_window.h"
#include "app/ui/main_window.h"
#include "app/ui/splash_window.h"
#include "align/ui/alignment_screen.h"
#include "app/ui/time_options.h"
#include "compose/ui/effects_window.h"
#include "storage/ui/project_info_window.h"
#include "main_window_fixture.h"
#include "playback/ui/stage.h"
#include "storage/recent_projects.h"
#include "storage/settings_file.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTest>
#include <stdexcept>

namespace lumavo::test {
namespace {

TEST(GeneralErrorReport, ShowsTheExceptionAndGoesOn)
{
    ScriptedPrompter prompter;
    EXPECT_FALSE(deliverReportingErrors([]() -> bool { throw std::runtime_error("disk on fire"); }, prompter));
    EXPECT_EQ(prompter.messageTexts(), QStringList{QStringLiteral("disk on fire")});
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(deliverReportingErrors([] { return true; }, prompter));
    EXPECT_EQ(prompter.messages.size(), 1u);
}

class ApplicationTest : public testing::Test {
protected:
    TempDir dir;
    ScriptedPrompter prompter;
    FakeClock clock;
    QString settings() const { return dir.file(QStringLiteral("lumavo.ini")); }
};

TEST_F(ApplicationTest, CreatesTheSevenWindowsAndSetsTheStartupValues)
{
    Application app(prompter, clock, {}, settings());
    app.createWindows();
    EXPECT_EQ(app.context().mainWidget, &app.mainWindow());
    const EditorWindows& c = app.mainWindow().windows();
    EXPECT_NE(c.fontForm, nullptr);
    EXPECT_NE(c.projectInfo, nullptr);
    EXPECT_NE(c.timeOptions, nullptr);
    EXPECT_NE(c.systemInfo, nullptr);
    ASSERT_NE(c.stage, nullptr);
    EXPECT_NE(c.stage->alignment(), nullptr);
    EXPECT_NE(c.effectsWindow, nullptr);
    const Workspace& ws = app.workspace();
    EXPECT_EQ(ws.page.line(1).fontSize, 60);
    EXPECT_EQ(ws.page.line(3).inDir, 3);
    EXPECT_EQ(ws.project.colorBarTime, 10);
    EXPECT_FALSE(ws.osName.isEmpty());
    EXPECT_EQ(ws.versionText, QStringLiteral("01.30"));
    EXPECT_TRUE(ws.project.projectName.isEmpty());
}

TEST_F(ApplicationTest, AtStartUpTheInAndOutButtonsShowTheDirectionsThePageHolds)
{
    Application app(prompter, clock, {}, settings());
    app.createWindows();
    for (int k = 1; k <= kLineCount; ++k) {
        const TitleLine& line = app.workspace().page.line(k);
        EXPECT_EQ(app.mainWindow().inButton(k)->property("directionCode").toInt(), line.inDir) << k;
        EXPECT_EQ(app.mainWindow().outButton(k)->property("directionCode").toInt(), line.outDir) << k;
    }
}

TEST_F(ApplicationTest, OkInTheGradientWindowRecoloursTheLinesEditBox)
{
    Application app(prompter, clock, {}, settings());
    app.createWindows();
    TBitMovOptMain& main = app.mainWindow();
    main.edit(2)->setText(QStringLiteral("Two"));
    main.inButton(2)->click();             // the direction toolbar for line 2
    prompter.onModal = [](QWidget& w) {
        w.show();
        w.findChild<QSlider*>(QStringLiteral("TrackBar1"))->setValue(510);   // green
        w.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        return 1;
    };
    main.toggleButton(2)->click();
    ASSERT_EQ(prompter.modalCount, 1);
    EXPECT_EQ(main.edit(2)->palette().color(QPalette::Text), QColor(0, 255, 0));
}

TEST_F(ApplicationTest, EscInTimeOptionsCancelsAsCancelDoes)
{
    Application app(prompter, clock, {}, settings());
    app.createWindows();
    TBconfig& options = *app.mainWindow().windows().timeOptions;
    options.show();
    options.slider()->setValue(25);
    QTest::keyClick(&options, Qt::Key_Escape);
    EXPECT_EQ(app.workspace().project.colorBarTime, 10);
    EXPECT_FALSE(options.isVisible());
}

TEST_F(ApplicationTest, TheLastProjectIsReopenedAtStartUp)
{
    {
        // A first run: save a project with one page, then quit.
        Application first(prompter, clock, {}, settings());
        first.createWindows();
        TBitMovOptMain& window = first.mainWindow();
        window.setProcessEnd([] {});
        prompter.saveNames.push_back(dir.file(QStringLiteral("SHOW.tlp")));
        window.findChild<QToolButton*>(QStringLiteral("SavePrjToolButton"))->click();
        window.edit(2)->setText(QStringLiteral("Remembered"));
        window.findChild<QToolButton*>(QStringLiteral("SavePgToolButton"))->click();
        window.move(40, 30);
        ASSERT_TRUE(window.close());
    }
    Application second(prompter, clock, {}, settings());
    second.createWindows();
    EXPECT_EQ(second.workspace().project.projectName, QStringLiteral("SHOW.tlp"));
    EXPECT_EQ(second.mainWindow().edit(2)->text(), QStringLiteral("Remembered"));
    EXPECT_EQ(second.mainWindow().statusPanel(4)->text(), QStringLiteral("PROJECT: SHOW.tlp"));
    EXPECT_TRUE(second.workspace().editor.settingsRead);
}

TEST_F(ApplicationTest, AProjectOnTheCommandLineOpensInsteadOfTheLastOneAndJoinsOpenRecent)
{
    const QString show = dir.file(QStringLiteral("SHOW.tlp"));
    const QString other = dir.file(QStringLiteral("OTHER.tlp"));
    {
        Application first(prompter, clock, {}, settings());
        first.createWindows();
        TBitMovOptMain& window = first.mainWindow();
        window.setProcessEnd([] {});
        for (const QString& name : {show, other}) {
            window.findChild<QToolButton*>(QStringLiteral("NewPrjToolButton"))->click();
            prompter.saveNames.push_back(name);
            window.findChild<QToolButton*>(QStringLiteral("SavePrjToolButton"))->click();
        }
        ASSERT_TRUE(window.close());   // OTHER is the last project
    }
    Application app(prompter, clock, {}, settings());
    app.createWindows(show);
    EXPECT_EQ(app.workspace().project.projectName, QStringLiteral("SHOW.tlp"));

    EditorCommands& commands = app.mainWindow().commands();
    commands.fillRecentMenu();
    const auto item = [&](const char* name) {
        return app.mainWindow().findChild<QAction*>(QString::fromLatin1(name));
    };
    ASSERT_NE(item("RecentProject2"), nullptr);
    EXPECT_TRUE(item("RecentProject1")->text().contains(QStringLiteral("SHOW.tlp")));
    EXPECT_TRUE(item("RecentProject2")->text().contains(QStringLiteral("OTHER.tlp")));
    EXPECT_FALSE(item("RemoveMissingProjects")->isEnabled());

    ASSERT_TRUE(QFile::remove(other));
    commands.fillRecentMenu();
    EXPECT_FALSE(item("RecentProject2")->isEnabled()) << "a project that is gone is greyed";
    item("RemoveMissingProjects")->trigger();
    EXPECT_EQ(readRecentProjects(settings()), QStringList{show});
    commands.fillRecentMenu();
    item("ClearRecentProjects")->trigger();
    EXPECT_TRUE(readRecentProjects(settings()).isEmpty());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ApplicationTest, TheConsoleOrThePreviewPushedTheTitleLinesAndDelayControlsOutOfTheWindow)
{
    Application app(prompter, clock, {}, settings());
    app.createWindows();
    TBitMovOptMain& window = app.mainWindow();
    window.resize(kMainWindowWidth, kMainWindowHeight);
    window.show();
    auto* console = window.findChild<QWidget*>(QStringLiteral("OnAirDock"));
    ASSERT_NE(console, nullptr);
    console->show();
    QCoreApplication::processEvents();
    const QWidget* surface = window.centralWidget();
    const QWidget* delays = window.findChild<QWidget*>(QStringLiteral("PANEL1"));
    EXPECT_LE(delays->geometry().bottom(), surface->height() - 1);
    EXPECT_LE(window.edit(3)->mapTo(surface, QPoint(0, window.edit(3)->height())).y(), delays->y());
    EXPECT_EQ(window.size(), QSize(kMainWindowWidth, kMainWindowHeight)) << "the window did not grow either";
    console->hide();
    // The preview is a window of its own beside the editor.
    auto* preview = window.findChild<QWidget*>(QStringLiteral("PreviewPanel"));
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isWindow());
}

TEST_F(ApplicationTest, ADeletedLastProjectOpensNothingButKeepsThePlacement)
{
    IniFile ini;
    ini.writeString(kSettingsSection, QStringLiteral("Lastproject"), dir.file(QStringLiteral("GONE.tlp")));
    ini.writeInteger(kSettingsSection, QStringLiteral("Top"), 50);
    ini.writeInteger(kSettingsSection, QStringLiteral("Left"), 60);
    ini.writeInteger(kSettingsSection, QStringLiteral("Height"), 500);
    ini.writeInteger(kSettingsSection, QStringLiteral("Width"), 700);
    ASSERT_TRUE(ini.save(settings()).ok);
    Application app(prompter, clock, {}, settings());
    app.createWindows();
    EXPECT_TRUE(app.workspace().project.projectName.isEmpty());
    EXPECT_EQ(app.mainWindow().size(), QSize(700, 500));
    EXPECT_EQ(app.mainWindow().pos(), QPoint(60, 50));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ApplicationTest, AboutOpensAFreshWindowEachTime)
{
    Application app(prompter, clock, {}, settings());
    app.createWindows();
    QStringList seen;
    prompter.onModal = [&](QWidget& w) {
        auto* about = qobject_cast<TAnimateXAbout*>(&w);
        EXPECT_NE(about, nullptr);
        if (about != nullptr)
            seen << about->windowTitle() + QLatin1Char('|') + about->findChild<QLabel*>(QStringLiteral("ProductName"))->text();
        return 1;
    };
    QAction* about = app.mainWindow().findChild<QAction*>(QStringLiteral("About1"));
    about->trigger();
    about->trigger();
    EXPECT_EQ(seen, (QStringList{QStringLiteral("About Lumavo-32|Lumavo Pro 01.30"),
                                 QStringLiteral("About Lumavo-32|Lumavo Pro 01.30")}));
    EXPECT_EQ(app.mainWindow().findChildren<TAnimateXAbout*>().size(), 0);
}

TEST_F(ApplicationTest, TimeOptionsClampsToThirtyEvenWhenCancelled)
{
    Application app(prompter, clock, {}, settings());
    app.createWindows();
    app.workspace().project.colorBarTime = 45;
    prompter.onModal = [&](QWidget& w) {
        auto& options = dynamic_cast<TBconfig&>(w);
        options.show();
        EXPECT_EQ(options.slider()->value(), 30);
        EXPECT_EQ(options.valueLabel()->text(), QStringLiteral("30"));
        options.slider()->setValue(12);
        EXPECT_EQ(app.workspace().project.colorBarTime, 12);
        options.cancelButton()->click();
        return 0;
    };
    app.mainWindow().findChild<QAction*>(QStringLiteral("SetColorBarTime1"))->trigger();
    EXPECT_EQ(prompter.modalCount, 1);
    EXPECT_EQ(app.workspace().project.colorBarTime, 30);
}

TEST_F(ApplicationTest, TimeOptionsOkKeepsTheSliderValueAndTheCloseBoxKeepsItToo)
{
    Application app(prompter, clock, {}, settings());
    app.createWindows();
    TBconfig& options = *app.mainWindow().windows().timeOptions;
    options.show();
    options.slider()->setValue(20);
    options.okButton()->click();
    EXPECT_EQ(app.workspace().project.colorBarTime, 20);
    options.show();
    options.slider()->setValue(7);
    options.close();
    EXPECT_EQ(app.workspace().project.colorBarTime, 7);
}

TEST(Splash, GoesAwayByItselfOnTheSixthTick)
{
    QPointer<Tsplasher> splash = new Tsplasher;
    splash->showSplash();
    EXPECT_TRUE(splash->timerActive());
    for (int tick = 1; tick <= 5; ++tick)
        splash->Timer1Timer();
    EXPECT_TRUE(splash->isVisible());
    splash->Timer1Timer();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
}

TEST_F(MainWindowTest, HelpContentsOpensTheBundledManual)
{
    window->setHelpSource(QStringLiteral(LUMAVO_SOURCE_DIR "/resources/help"));
    QUrl opened;
    window->setUrlOpener([&](const QUrl& url) {
        opened = url;
        return true;
    });
    action("Contents1")->trigger();
    ASSERT_TRUE(opened.isLocalFile());
    EXPECT_TRUE(opened.toLocalFile().endsWith(QStringLiteral("/help/index.html")));
    EXPECT_TRUE(readAll(opened.toLocalFile()).contains("Lumavo"));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainWindowTest, HelpContentsReportsAMissingManual)
{
    window->setHelpSource(dir.file(QStringLiteral("nothing-here")));
    window->setUrlOpener([](const QUrl&) { return true; });
    action("Contents1")->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
}

} // namespace
} // namespace lumavo::test

namespace lumavo::test {
namespace {

TEST_F(ApplicationTest, PlayingAnEmptyPageIsRefusedWithTheEditorsMessage)
{
    Application app(prompter, clock, {}, settings());
    app.createWindows();
    app.mainWindow().Initiate();
    app.mainWindow().showpage();
    app.mainWindow().findChild<QToolButton*>(QStringLiteral("PlayPgToolButton"))->click();
    EXPECT_EQ(prompter.messageTexts(), QStringList{QStringLiteral("Enter a title in the black edit box.")});
    EXPECT_FALSE(app.mainWindow().windows().stage->isVisible());
}

TEST_F(ApplicationTest, AClickOnTheMainWindowHidesTheStage)
{
    Application app(prompter, clock, {}, settings());
    app.createWindows();
    app.mainWindow().windows().stage->show();
    QWidget* surface = app.mainWindow().centralWidget();
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(app.mainWindow().windows().stage->isVisible());
    EXPECT_TRUE(app.mainWindow().isVisible());
}

TEST_F(ApplicationTest, SysInfoReportsTheScreensDepth)
{
    Application app(prompter, clock, {}, settings());
    app.createWindows();
    EXPECT_EQ(app.mainWindow().SysInfo(0), app.mainWindow().screen()->depth());
    EXPECT_EQ(app.mainWindow().SysInfo(7), 0);
}

TEST_F(ApplicationTest, LowerWindowsReachTheEditorThroughTheApplication)
{
    Application app(prompter, clock, {}, settings());
    app.createWindows();
    const EditorWindows& windows = app.mainWindow().windows();
    // The gradient window's toggle shows on the editor's gradient button.
    windows.effectsWindow->findChild<QToolButton*>(QStringLiteral("SpeedButton1"))->click();
    EXPECT_TRUE(app.mainWindow().toggleButton(2)->isChecked());
    // The alignment screen's information button opens the project information window.
    auto* alignment = dynamic_cast<AlignmentScreen*>(windows.stage->alignment());
    ASSERT_NE(alignment, nullptr);
    alignment->projectInfoButton()->click();
    EXPECT_TRUE(windows.projectInfo->isVisible());
    windows.projectInfo->hide();
}

} // namespace
} // namespace lumavo::test
