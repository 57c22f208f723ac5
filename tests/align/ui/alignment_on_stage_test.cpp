// The alignment screen hosted by the real stage window.
#include "align/ui/alignment_screen.h"

#include "compose/ui/tbmp.h"
#include "playback/ui/stage.h"
#include "scripted_prompter.h"

#include <QApplication>
#include <QFrame>
#include <QMouseEvent>
#include <QToolButton>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

void mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

TEST(AlignmentOnStage, OpensDrawsAndClosesOnTheStageWithoutTouchingPlaybackFlags)
{
    Workspace workspace;
    TitleLine& line1 = workspace.page.line(1);
    line1.text = QStringLiteral("Title");
    line1.titleValid = true;
    line1.fontSize = 24;
    line1.inDir = 11;
    line1.inPathOn = true;
    workspace.stage.restOf(1) = {30, 40};
    test::ScriptedPrompter prompter;
    FakeClock clock;
    AppContext context{workspace, prompter, clock, {}};
    TCan stage(context);
    AlignmentScreen& screen = AlignmentScreen::attachTo(stage, context);

    stage.enterAlignment();
    ASSERT_TRUE(stage.isVisible());
    EXPECT_TRUE(stage.isEnabled());
    EXPECT_EQ(screen.panel()->pos(), QPoint(stage.width() - 75, 6));
    EXPECT_TRUE(screen.panel()->isVisible());
    ASSERT_NE(screen.titleImage(1), nullptr);
    EXPECT_EQ(stage.backBuffer().pixel(30, 40), rgb(255, 0, 0));

    screen.pathButton({1, PathSide::In})->click();
    mouse(&stage, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
    mouse(&stage, QEvent::MouseMove, {100, 100}, Qt::NoButton, Qt::LeftButton);
    for (int i = 0; i < 11; ++i)
        mouse(&stage, QEvent::MouseMove, {300, 100}, Qt::NoButton, Qt::LeftButton);
    mouse(&stage, QEvent::MouseButtonRelease, {300, 100}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(workspace.stage.inPath(1).count, 11);
    EXPECT_FALSE(stage.getkillnow()) << "a click in alignment mode is not a stop request";

    // The editor's direction toolbar clears a path through the stage.
    stage.clearOutPath(1);
    EXPECT_EQ(workspace.stage.outPath(1).count, -1);

    screen.exitButton()->click();
    EXPECT_FALSE(workspace.editor.alignActive);
    EXPECT_FALSE(stage.isVisible());
    // The mouse came in logical pixels; the path is in stage pixels (twice as many on a dense screen).
    const int ratio = stage.screenSize().x / stage.width();
    EXPECT_EQ(workspace.stage.restOf(1), (Point{100 * ratio + 10, 100 * ratio}))
        << "rests where the IN path ends (point count - 1)";
}

} // namespace
} // namespace lumavo
