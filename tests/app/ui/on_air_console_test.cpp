#include "app/ui/on_air_console.h"

#include "playback/ui/stage.h"
#include "scripted_prompter.h"
#include "test_support.h"
#include "../../playback/test_stage.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

// A console in a window of its own, beside an offscreen stage.
struct ConsoleRig {
    Workspace ws;
    test::ScriptedPrompter prompter;
    FakeClock clock;
    QStringList waveLog;
    QWidget window;
    AppContext context{ws, prompter, clock, [this] { return std::make_unique<test::RecordingWavePlayer>(waveLog); }};
    std::unique_ptr<TCan> stage;
    OnAirConsole* console = nullptr;

    ConsoleRig()
    {
        context.mainWidget = &window;
        stage = std::make_unique<TCan>(context);
        console = new OnAirConsole(*stage, ws, &window);
        window.show();
        QApplication::setActiveWindow(&window);
        stage->enableStage();
    }
    void press(const char* button)
    {
        QTest::mouseClick(console->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
    }
};

TEST(OnAirConsole, ContinueReleasesTheHoldAndStopSetsTheStopFlag)
{
    ConsoleRig r;
    r.stage->setspcbarpause(true);
    r.stage->setkillnow(false);
    r.press("ContinueButton");
    EXPECT_FALSE(r.stage->getspcbarpause());
    EXPECT_FALSE(r.stage->getkillnow());
    r.stage->setspcbarpause(true);
    r.press("StopButton");
    EXPECT_FALSE(r.stage->getspcbarpause());
    EXPECT_TRUE(r.stage->getkillnow());
    EXPECT_TRUE(r.stage->isEnabledStage());
    r.press("StopButton");   // a second Stop closes the stage, as a second click on it does
    EXPECT_FALSE(r.stage->isEnabledStage());
}

TEST(OnAirConsole, SpaceAndEscapeInTheWindowActOnTheStage)
{
    ConsoleRig r;
    auto* editBox = new QWidget(&r.window);   // the focus is anywhere in the window
    editBox->setFocusPolicy(Qt::StrongFocus);
    editBox->show();
    editBox->setFocus();
    r.stage->setspcbarpause(true);
    r.stage->setkillnow(false);
    QTest::keyClick(editBox, Qt::Key_Space);
    EXPECT_FALSE(r.stage->getspcbarpause());
    EXPECT_FALSE(r.stage->getkillnow());
    QTest::keyClick(editBox, Qt::Key_Escape);
    EXPECT_TRUE(r.stage->getkillnow());
}

TEST(OnAirConsole, ShowsThePageAndTheLinePlaying)
{
    ConsoleRig r;
    r.ws.project.pageNow = QStringLiteral("003");
    TitleLine& line = r.ws.page.line(1);
    line.text = "Hi";
    line.titleValid = true;
    line.fontSize = 40;
    line.inDir = 13;
    line.outDir = 0;
    QStringList seen;
    QObject::connect(r.stage.get(), &TCan::presented, r.console, [&] { seen << r.console->playingText(); });
    r.stage->playCurrentPage();
    EXPECT_TRUE(seen.contains(QStringLiteral("Page 003   Line 1"))) << seen.join('|').toStdString();
    r.console->refresh();
    EXPECT_EQ(r.console->playingText(), QStringLiteral("Page 003"));
}

} // namespace
} // namespace lumavo
