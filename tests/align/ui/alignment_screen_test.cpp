#include "align/ui/alignment_screen.h"

#include "compose/ui/tbmp.h"
#include "playback/stage_surface.h"
#include "scripted_prompter.h"
#include "test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

constexpr Color kRed = rgb(255, 0, 0);
constexpr Color kGrey = rgb(128, 128, 128);
constexpr int kStageW = 400;
constexpr int kStageH = 300;

// A stage window with its back buffer, recording what the alignment screen asks of it. The back
// buffer holds `scale` stage pixels for each logical pixel of the window, as on a high-density screen.
class FakeStage : public QWidget, public StageSurface {
public:
    explicit FakeStage(int scale = 1) : back(kStageW * scale, kStageH * scale, PixelFormat::Bits32)
    {
        resize(kStageW, kStageH);
    }
    Bitmap& backBuffer() override { return back; }
    void present(const Rect& region) override { presented.push_back(region); }
    Clock::Nanoseconds framePeriod() const override { return std::chrono::milliseconds(16); }
    Point screenSize() const override { return {back.width(), back.height()}; }
    int screenDepth() const override { return 32; }
    ComposeFormats composeFormats() const override { return {PixelFormat::Bits32, PixelFormat::Bits32}; }
    void pumpMessages() override { QCoreApplication::processEvents(); }
    void waitForMessages() override {}
    void showForPlayback() override
    {
        setCursor(Qt::ArrowCursor);
        show();
    }
    void enableStage() override { enabled = true; }
    void closeStage() override
    {
        enabled = false;
        hide();
    }
    bool isEnabledStage() const override { return enabled; }

    Bitmap back;
    std::vector<Rect> presented;
    bool enabled = false;
};

void mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, modifiers);
    QApplication::sendEvent(w, &event);
}
void press(QWidget* w, QPoint pos, Qt::MouseButton b = Qt::LeftButton) { mouse(w, QEvent::MouseButtonPress, pos, b, b); }
void moveHeld(QWidget* w, QPoint pos, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    mouse(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton, m);
}
void release(QWidget* w, QPoint pos, Qt::MouseButton b = Qt::LeftButton)
{
    mouse(w, QEvent::MouseButtonRelease, pos, b, Qt::NoButton);
}

class AlignmentScreenTest : public ::testing::Test {
protected:
    explicit AlignmentScreenTest(int scale = 1) : stage(scale)
    {
        TitleLine& line1 = workspace.page.line(1);
        line1.text = QStringLiteral("Lumavo");
        line1.titleValid = true;
        line1.fontSize = 20;
        line1.inDir = 11;
        line1.inPathOn = true;
        line1.outDir = 3;
        TitleLine& line2 = workspace.page.line(2);
        line2.text = QStringLiteral("Two");
        line2.titleValid = true;
        line2.fontSize = 14;
        line2.outDir = 11;
        line2.outPathOn = true;
        line2.inDir = 11;
        line2.inPathOn = true;
        workspace.stage.restOf(1) = {40, 50};
        workspace.stage.restOf(2) = {60, 200};
        for (DrawnPath* p : {&workspace.stage.inPath(1), &workspace.stage.outPath(1), &workspace.stage.inPath(2),
                             &workspace.stage.outPath(2), &workspace.stage.inPath(3), &workspace.stage.outPath(3)})
            p->count = -1;
    }

    void enter() { screen.EnterAlignment(); }
    QToolButton* button(int line, PathSide side) { return screen.pathButton({line, side}); }

    Workspace workspace;
    test::ScriptedPrompter prompter;
    FakeClock clock;
    AppContext context{workspace, prompter, clock, {}};
    FakeStage stage;
    AlignmentScreen screen{context, stage, stage};
};

// Two stage pixels to a logical pixel: the titles, paths and rest positions stay in stage pixels
// while the window and the mouse work in logical ones.
class AlignmentOnADenseScreenTest : public AlignmentScreenTest {
protected:
    AlignmentOnADenseScreenTest() : AlignmentScreenTest(2) {}
};

TEST_F(AlignmentOnADenseScreenTest, TitlesPathsAndTheReadoutAreInStagePixels)
{
    enter();
    EXPECT_EQ(screen.panel()->pos(), QPoint(kStageW - 75, 6)) << "the panel stays on the window";
    Tbmp* image = screen.titleImage(1);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pos(), QPoint(20, 25));
    EXPECT_EQ(image->width(), (image->picture().width() + 1) / 2);
    EXPECT_EQ(stage.back.pixel(40, 50), kRed) << "the frame is drawn at the rest position in stage pixels";

    press(image, {0, 0});   // grabbed at its corner
    mouse(image, QEvent::MouseMove, image->mapFrom(&stage, QPoint(100, 120)), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(image->pos(), QPoint(100, 120));
    EXPECT_EQ(screen.positionReadout()->text(), QStringLiteral("Title 1   Hori Pos: 200 Vert Pos: 240"));
    release(image, {0, 0});

    button(2, PathSide::In)->click();
    press(&stage, {150, 140});
    moveHeld(&stage, {150, 140});
    moveHeld(&stage, {170, 140});
    release(&stage, {170, 140});
    EXPECT_EQ(workspace.stage.inPath(2).count, 1);
    EXPECT_EQ(workspace.stage.inPath(2).points[0], (PathPoint{300, 280}));
    EXPECT_EQ(workspace.stage.inPath(2).points[1], (PathPoint{301, 280}));
    EXPECT_EQ(stage.back.pixel(300, 280), kWhite) << "line 2's path colour, drawn in stage pixels";

    screen.ExitAlignClick();
    EXPECT_EQ(workspace.stage.restOf(1), (Point{200, 240}));
}

TEST_F(AlignmentScreenTest, EnteringShowsPanelButtonsAndFramedTitlesAtTheirRestPositions)
{
    enter();
    EXPECT_TRUE(workspace.editor.alignActive);
    EXPECT_TRUE(stage.enabled);
    EXPECT_TRUE(screen.panel()->isVisible());
    EXPECT_EQ(screen.panel()->pos(), QPoint(kStageW - 75, 6));
    EXPECT_EQ(screen.panel()->size(), QSize(76, 321));
    EXPECT_TRUE(button(1, PathSide::In)->isEnabled());
    EXPECT_FALSE(button(1, PathSide::Out)->isEnabled());
    EXPECT_TRUE(button(2, PathSide::Out)->isEnabled());
    EXPECT_FALSE(button(3, PathSide::In)->isEnabled()) << "line 3's directions are not 11";
    EXPECT_FALSE(button(3, PathSide::Out)->isEnabled());
    EXPECT_EQ(screen.gauge()->maximum(), 999);
    EXPECT_EQ(screen.gauge()->minimum(), 0);
    EXPECT_FALSE(screen.pathTimer().isActive()) << "no path to show";

    ASSERT_NE(screen.titleImage(1), nullptr);
    EXPECT_EQ(screen.titleImage(3), nullptr);
    EXPECT_TRUE(screen.titleImage(1)->isVisible());
    EXPECT_EQ(screen.titleImage(1)->pos(), QPoint(40, 50));
    // The alignment frame in the line's colour, also drawn on the stage itself.
    EXPECT_EQ(stage.back.pixel(40, 50), kRed);
    EXPECT_EQ(stage.back.pixel(60, 200), kWhite);
    EXPECT_EQ(screen.pathTimer().interval(), 250);
    EXPECT_EQ(screen.pathTimer().timerType(), Qt::PreciseTimer);
}

TEST_F(AlignmentScreenTest, FastMoveWithLeftButtonAddsOnePointOnePixelOn)
{
    enter();
    button(1, PathSide::In)->click();
    press(&stage, {20, 30});
    EXPECT_FALSE(screen.pathTimer().isActive());
    moveHeld(&stage, {20, 30});
    moveHeld(&stage, {70, 30});
    const DrawnPath& in = workspace.stage.inPath(1);
    EXPECT_EQ(in.count, 1);
    EXPECT_EQ(in.points[0], (PathPoint{20, 30}));
    EXPECT_EQ(in.points[1], (PathPoint{21, 30}));
    EXPECT_EQ(screen.countLabel()->text(), QStringLiteral("1"));
    EXPECT_EQ(screen.gauge()->value(), 1);
    EXPECT_EQ(stage.back.pixel(20, 30), kRed);

    moveHeld(&stage, {90, 30}, Qt::ShiftModifier);
    EXPECT_EQ(in.count, 1) << "Shift held: nothing recorded";
    release(&stage, {70, 30});
    EXPECT_TRUE(screen.pathTimer().isActive());
}

TEST_F(AlignmentScreenTest, CountStopsAt999)
{
    enter();
    button(1, PathSide::In)->click();
    DrawnPath& in = workspace.stage.inPath(1);
    in.count = 998;
    for (int i = 0; i <= 998; ++i)
        in.points[static_cast<std::size_t>(i)] = {static_cast<std::uint16_t>(i % 300), 100};
    press(&stage, {10, 10});
    moveHeld(&stage, {10, 10});
    EXPECT_EQ(in.count, 999);
    EXPECT_EQ(in.points[999], PathPoint{});
    moveHeld(&stage, {12, 10});
    EXPECT_EQ(in.count, 999);
    EXPECT_EQ(screen.countLabel()->text(), QStringLiteral("999"));
    EXPECT_EQ(screen.gauge()->value(), 999);
}

TEST_F(AlignmentScreenTest, PressingInTwoTwiceClearsThePathDrawnAfterTheFirstPress)
{
    enter();
    button(2, PathSide::In)->click();
    press(&stage, {100, 100});
    for (int x = 100; x < 110; ++x)
        moveHeld(&stage, {x + 5, 100});
    release(&stage, {110, 100});
    ASSERT_EQ(workspace.stage.inPath(2).count, 9);
    EXPECT_EQ(stage.back.pixel(108, 100), kWhite);
    button(2, PathSide::In)->click();
    EXPECT_TRUE(button(2, PathSide::In)->isChecked());
    EXPECT_EQ(workspace.stage.inPath(2).count, -1);
    EXPECT_EQ(workspace.stage.inPath(2).points[3], PathPoint{});
    EXPECT_EQ(stage.back.pixel(108, 100), kBlack);
}

TEST_F(AlignmentScreenTest, ResetCurrentPathReleasesThePathButton)
{
    enter();
    button(1, PathSide::In)->click();
    screen.resetButton()->click();
    EXPECT_FALSE(button(1, PathSide::In)->isChecked());
    press(&stage, {10, 10});
    moveHeld(&stage, {20, 10});
    EXPECT_EQ(workspace.stage.inPath(1).count, -1);
}

struct ExitCase {
    int inCount;
    QPoint expected;
};

class ExitRestTest : public AlignmentScreenTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(ExitRestTest, RestComesFromTheDraggedImageOrTheInPathEnd)
{
    DrawnPath& in = workspace.stage.inPath(1);
    in.count = GetParam().inCount;
    for (int i = 0; i < 20; ++i)
        in.points[static_cast<std::size_t>(i)] = {static_cast<std::uint16_t>(200 + i), static_cast<std::uint16_t>(10 + i)};
    enter();
    QWidget* image = screen.titleImage(1);
    ASSERT_NE(image, nullptr);
    press(image, {0, 0});   // grabbed at its corner
    mouse(image, QEvent::MouseMove, image->mapFrom(&stage, QPoint(100, 120)), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(image->pos(), QPoint(100, 120));
    EXPECT_TRUE(screen.positionReadout()->isVisible());
    EXPECT_EQ(screen.positionReadout()->text(), QStringLiteral("Title 1   Hori Pos: 100 Vert Pos: 120"));
    EXPECT_FALSE(screen.pathTimer().isActive());
    release(image, {0, 0});
    EXPECT_FALSE(screen.positionReadout()->isVisible());
    EXPECT_TRUE(screen.pathTimer().isActive());

    screen.exitButton()->click();
    EXPECT_FALSE(workspace.editor.alignActive);
    EXPECT_FALSE(screen.pathTimer().isActive());
    EXPECT_FALSE(stage.enabled);
    EXPECT_FALSE(screen.panel()->isVisible());
    EXPECT_EQ(screen.titleImage(1), nullptr);
    const QPoint expected = GetParam().expected;
    EXPECT_EQ(workspace.stage.restOf(1), (Point{expected.x(), expected.y()}));
    EXPECT_EQ(workspace.stage.restOf(2), (Point{60, 200})) << "line 2 stays where it was";
}

INSTANTIATE_TEST_SUITE_P(Counts, ExitRestTest,
                         ::testing::Values(ExitCase{-1, {100, 120}}, ExitCase{0, {100, 120}},
                                           ExitCase{10, {209, 19}}));

TEST_F(AlignmentScreenTest, TitleWhosePictureFailsKeepsItsRestPositionOnExit)
{
    test::TempDir dir;
    const QString broken = dir.file(QStringLiteral("broken.bmp"));
    ASSERT_TRUE(test::writeAll(broken, "not a picture"));
    workspace.page.line(1).bitmapFile = broken;
    enter();
    EXPECT_EQ(screen.titleImage(1), nullptr);
    EXPECT_EQ(prompter.messages.size(), 1u);
    screen.ExitAlignClick();
    EXPECT_EQ(workspace.stage.restOf(1), (Point{40, 50})) << "not the off-screen place of the empty image";
}

TEST_F(AlignmentScreenTest, GridCheckedBeforeOpeningIsDrawnAtOnceAndErasedWhenUnchecked)
{
    screen.gridBox()->setChecked(true);
    enter();
    EXPECT_TRUE(screen.pathTimer().isActive());
    for (int y = 0; y < kStageH; y += 37)
        EXPECT_EQ(stage.back.pixel(kStageW / 2, y), kGrey) << y;
    stage.back.setPixel(kStageW / 2, 5, kRed);
    screen.Timer1Timer();
    EXPECT_EQ(stage.back.pixel(kStageW / 2, 5), kGrey) << "redrawn on every tick";
    screen.gridBox()->click();
    EXPECT_EQ(stage.back.pixel(kStageW / 2, 5), kBlack);
}

TEST_F(AlignmentScreenTest, OpeningWithAPathShowsItAndStartsTheTimer)
{
    workspace.stage.outPath(2).count = 2;
    workspace.stage.outPath(2).points[1] = {150, 150};
    workspace.stage.outPath(2).points[2] = {151, 150};
    enter();
    EXPECT_TRUE(screen.pathTimer().isActive());
}

TEST_F(AlignmentScreenTest, RightClickOnATitleSavesItsFramedPicture)
{
    test::TempDir dir;
    const QString file = dir.file(QStringLiteral("title1.bmp"));
    prompter.saveNames.push_back(file);
    enter();
    QWidget* image = screen.titleImage(1);
    ASSERT_NE(image, nullptr);
    press(image, {2, 2}, Qt::RightButton);
    release(image, {2, 2}, Qt::RightButton);
    ASSERT_EQ(prompter.fileDialogs.size(), 1u);
    EXPECT_EQ(prompter.fileDialogs[0].title, QStringLiteral("Save As A Bitmap File"));
    EXPECT_EQ(prompter.fileDialogs[0].filter, QStringLiteral("Bitmaps Only (*.bmp)"));
    Bitmap saved;
    ASSERT_TRUE(saved.loadFromFile(file));
    EXPECT_EQ(saved.width(), image->width());
    EXPECT_EQ(saved.height(), image->height());
    EXPECT_EQ(saved.pixel(0, 0), kRed);
    EXPECT_EQ(saved.pixel(saved.width() - 1, saved.height() - 1), kRed);
    EXPECT_EQ(image->pos(), QPoint(40, 50)) << "the right button does not drag";

    press(image, {2, 2}, Qt::RightButton);   // cancelled: nothing written, nothing shown
    EXPECT_EQ(prompter.fileDialogs.size(), 2u);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(AlignmentScreenTest, SavingToAnUnwritablePlaceReportsIt)
{
    prompter.saveNames.push_back(QStringLiteral("/nonexistent-dir/x/title.bmp"));
    enter();
    press(screen.titleImage(2), {1, 1}, Qt::RightButton);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.contains(QStringLiteral("/nonexistent-dir/x/title.bmp")));
}

TEST_F(AlignmentScreenTest, HidePanelHidesOnlyWhileHeldAndThePanelDrags)
{
    enter();
    emit screen.hidePanelButton()->pressed();
    EXPECT_FALSE(screen.panel()->isVisible());
    emit screen.hidePanelButton()->released();
    EXPECT_TRUE(screen.panel()->isVisible());

    QFrame* panel = screen.panel();
    const QPoint background(3, 318);
    press(panel, background);
    mouse(panel, QEvent::MouseMove, panel->mapFrom(&stage, QPoint(30, 40)), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(panel->pos(), QPoint(30, 40) - background) << "the point grabbed stays under the pointer";
    release(panel, {0, 0});
    EXPECT_TRUE(screen.pathTimer().isActive());
}

TEST_F(AlignmentScreenTest, DraggedTitleJumpedItsCornerToThePointerAndLeftAGhostBehind)
{
    enter();
    Tbmp* image = screen.titleImage(1);
    ASSERT_NE(image, nullptr);
    const Bitmap& picture = image->picture();
    press(image, {10, 4});
    mouse(image, QEvent::MouseMove, image->mapFrom(&stage, QPoint(200, 150)), Qt::NoButton, Qt::LeftButton);
    release(image, image->mapFrom(&stage, QPoint(200, 150)));
    EXPECT_EQ(image->pos(), QPoint(190, 146)) << "the grab point stays under the pointer";
    EXPECT_EQ(stage.back.pixel(40, 50), kBlack) << "no copy left at the old place";
    EXPECT_EQ(stage.back.pixel(190, 146), picture.pixel(0, 0)) << "the stage holds the title where it stands";

    // The arrow keys nudge the title last pressed: one pixel, ten with Shift.
    EXPECT_EQ(screen.selectedTitle(), 1);
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Right, Qt::NoModifier}, std::pair{Qt::Key_Down, Qt::ShiftModifier}}) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&stage, &event);
    }
    EXPECT_EQ(image->pos(), QPoint(191, 156));
    EXPECT_EQ(screen.positionReadout()->text(), QStringLiteral("Title 1   Hori Pos: 191 Vert Pos: 156"));
    EXPECT_EQ(stage.back.pixel(190, 146), kBlack);
    screen.ExitAlignClick();
    EXPECT_EQ(workspace.stage.restOf(1), (Point{191, 156}));
}

TEST_F(AlignmentScreenTest, GridBringsTheSafeAreaGuidesAndPathLengthIsNotClipped)
{
    enter();
    const Rect titleSafe = safeArea({kStageW, kStageH}, kTitleSafePercent);
    screen.gridBox()->click();
    EXPECT_EQ(stage.back.pixel(titleSafe.left, titleSafe.top + 7), kGrey);
    stage.back.setPixel(titleSafe.left, titleSafe.top + 7, kBlack);
    screen.Timer1Timer();
    EXPECT_EQ(stage.back.pixel(titleSafe.left, titleSafe.top + 7), kGrey) << "kept up with the grid";
    screen.gridBox()->click();
    EXPECT_EQ(stage.back.pixel(titleSafe.left, titleSafe.top + 7), kBlack);

    const auto* caption = screen.panel()->findChild<QLabel*>(QStringLiteral("PathLengthCaption"));
    ASSERT_NE(caption, nullptr);
    EXPECT_LE(caption->fontMetrics().horizontalAdvance(caption->text()), caption->width());
}

TEST_F(AlignmentScreenTest, HelpAndProjectInformationButtonsAskForTheirWindows)
{
    int help = 0;
    int info = 0;
    QObject::connect(&screen, &AlignmentScreen::helpRequested, [&] { ++help; });
    QObject::connect(&screen, &AlignmentScreen::projectInfoRequested, [&] { ++info; });
    enter();
    screen.helpButton()->click();
    EXPECT_EQ(help, 1);
    EXPECT_EQ(info, 0);
    screen.projectInfoButton()->click();
    EXPECT_EQ(info, 1);
}

TEST_F(AlignmentScreenTest, EditorClearsAPathWithoutTouchingTheButtons)
{
    DrawnPath& out1 = workspace.stage.outPath(1);
    out1.count = 4;
    out1.points[2] = {9, 9};
    stage.back.setPixel(9, 9, kWhite);
    screen.clearOutPath(1);
    EXPECT_EQ(out1.count, -1);
    EXPECT_EQ(out1.points[2], PathPoint{});
    EXPECT_EQ(stage.back.pixel(9, 9), kBlack);
    EXPECT_FALSE(screen.paths().currentPath().has_value());
    screen.clearInPath(7);   // no such line: nothing happens
}

TEST_F(AlignmentScreenTest, StageMouseIsLeftAloneOutsideAlignment)
{
    button(1, PathSide::In)->click();
    press(&stage, {10, 10});
    moveHeld(&stage, {20, 10});
    EXPECT_EQ(workspace.stage.inPath(1).count, -1);
    EXPECT_FALSE(screen.pathTimer().isActive());
}

} // namespace
} // namespace lumavo

