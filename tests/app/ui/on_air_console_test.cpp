#include "app/ui/on_air_console.h"

#include "playback/ui/stage.h"
#include "../../playback/ui/stage_context.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

// A console in a window of its own, beside an offscreen stage.
struct ConsoleRig : test::StageContext {
    QWidget window;
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
    r.stage->enableStage();
    r.stage->setkillnow(false);
    r.press("CutButton");    // Cut needs no Stop first
    EXPECT_FALSE(r.stage->isEnabledStage());
    EXPECT_TRUE(r.stage->getkillnow());
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
    for (const Qt::Key clicker : {Qt::Key_Right, Qt::Key_PageDown}) {
        r.stage->setspcbarpause(true);
        QTest::keyClick(editBox, clicker);
        EXPECT_FALSE(r.stage->getspcbarpause()) << clicker;
    }
    EXPECT_FALSE(r.stage->getkillnow());
    QTest::keyClick(editBox, Qt::Key_Escape);
    EXPECT_TRUE(r.stage->getkillnow());
}

TEST(OnAirConsole, ShowsThePageAndTheLinePlaying)
{
    ConsoleRig r;
    r.ws.project.pageNow = QStringLiteral("003");
    r.oneTitlePage();
    QStringList seen;
    QObject::connect(r.stage.get(), &TCan::presented, r.console, [&] { seen << r.console->playingText(); });
    r.stage->playCurrentPage();
    EXPECT_TRUE(seen.contains(QStringLiteral("Page 003   Line 1"))) << seen.join('|').toStdString();
    r.console->refresh();
    EXPECT_EQ(r.console->playingText(), QStringLiteral("Page 003"));
}

// Regression: the status changed only when a frame was presented, so a manual hold never said so.
TEST(OnAirConsole, StatusSaysWhenAManualHoldWaitsForContinue)
{
    ConsoleRig r;
    r.oneTitlePage();
    r.ws.page.mpause = true;
    auto* label = r.console->findChild<QLabel*>(QStringLiteral("PlayingLabel"));
    ASSERT_NE(label, nullptr);
    QStringList holds;
    QObject::connect(r.stage.get(), &TCan::pumping, r.console, [&] {
        if (r.stage->getspcbarpause()) {
            holds << label->text();
            r.console->continuePlayback();
        }
    });
    r.stage->playCurrentPage();
    EXPECT_EQ(holds, (QStringList{QStringLiteral("Page 000   (waiting for Continue)"),
                                  QStringLiteral("Page 000   Line 1   (waiting for Continue)")}));
}

} // namespace
} // namespace lumavo
