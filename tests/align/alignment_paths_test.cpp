#include "align/alignment_paths.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

constexpr Color kRed = rgb(255, 0, 0);
constexpr Color kBlue = rgb(0, 0, 255);
constexpr Color kGrey = rgb(128, 128, 128);

class AlignmentPathsTest : public ::testing::Test {
protected:
    AlignmentPathsTest() : stage(200, 100, PixelFormat::Bits32)
    {
        stage.canvas().brush = {kBlack, BrushStyle::Solid};
        stage.setSize(200, 100);
        for (int line = 1; line <= kLineCount; ++line) {
            workspace.page.line(line).titleValid = true;
            workspace.page.line(line).inPathOn = true;
            workspace.page.line(line).outPathOn = true;
        }
    }

    Canvas& canvas() { return stage.canvas(); }
    // Sets a path to count + 1 points along row y starting at x0, one pixel apart.
    void fillPath(PathId id, int count, int x0, int y)
    {
        DrawnPath& p = paths.path(id);
        p.count = count;
        for (int i = 0; i <= std::min(count, kLastRecordedSlot); ++i)
            p.points[static_cast<std::size_t>(i)] = {static_cast<std::uint16_t>(x0 + i), static_cast<std::uint16_t>(y)};
    }

    Workspace workspace;
    AlignmentPaths paths{workspace};
    Bitmap stage;
};

struct StepCase {
    Point previous;
    Point mouse;
    Point expected;
};

class SetXYTest : public AlignmentPathsTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(SetXYTest, StepsAtMostOnePixelPerAxisAndReturnsPackedPoint)
{
    const StepCase c = GetParam();
    canvas().moveTo(c.previous.x, c.previous.y);
    canvas().pen.color = kRed;
    const std::uint32_t packed = paths.setXY(canvas(), c.mouse.y, c.mouse.x, c.previous.x, c.previous.y);
    EXPECT_EQ(packed, (static_cast<std::uint32_t>(c.expected.y) << 16) | static_cast<std::uint32_t>(c.expected.x));
    EXPECT_EQ(paths.lastPathPoint(), (PathPoint{static_cast<std::uint16_t>(c.expected.x),
                                                static_cast<std::uint16_t>(c.expected.y)}));
    EXPECT_EQ(canvas().penPosition(), c.expected);
    // The pen line starts at the previous point (its last pixel is left out).
    if (c.expected != c.previous) {
        EXPECT_EQ(stage.pixel(c.previous.x, c.previous.y), kRed);
    }
}

INSTANTIATE_TEST_SUITE_P(Directions, SetXYTest,
                         ::testing::Values(StepCase{{10, 10}, {60, 10}, {11, 10}},   // 50 px right: one step
                                           StepCase{{10, 10}, {0, 10}, {9, 10}},
                                           StepCase{{10, 10}, {10, 90}, {10, 11}},
                                           StepCase{{10, 10}, {10, 0}, {10, 9}},
                                           StepCase{{10, 10}, {80, 3}, {11, 9}},     // diagonal
                                           StepCase{{10, 10}, {10, 10}, {10, 10}},   // no movement
                                           StepCase{{0, 0}, {-40, -40}, {0, 0}},     // pointer off the stage
                                           StepCase{{199, 99}, {500, 500}, {199, 99}}));

TEST_F(AlignmentPathsTest, MovesRecordNothingWithoutLeftButtonAloneOrEnabledPath)
{
    EXPECT_FALSE(paths.mouseMove(canvas(), {5, 5}, true)) << "no path button down";
    paths.choosePath(canvas(), {2, PathSide::Out});
    EXPECT_FALSE(paths.mouseMove(canvas(), {5, 5}, false));
    workspace.page.line(2).outPathOn = false;
    EXPECT_FALSE(paths.mouseMove(canvas(), {5, 5}, true));
    EXPECT_EQ(paths.path({2, PathSide::Out}).count, -1);
    paths.releasePath();
    EXPECT_EQ(paths.currentCount(), -1);
}

TEST_F(AlignmentPathsTest, CountStopsAt999WithoutRecordingSlot999)
{
    paths.choosePath(canvas(), {3, PathSide::In});
    fillPath({3, PathSide::In}, kMaxPathCount - 1, 0, 50);
    DrawnPath& p = paths.path({3, PathSide::In});
    p.points[kMaxPathCount] = {7, 7};
    EXPECT_TRUE(paths.mouseMove(canvas(), {190, 50}, true));
    EXPECT_EQ(p.count, kMaxPathCount);
    EXPECT_EQ(p.points[kMaxPathCount], (PathPoint{7, 7}));
    EXPECT_FALSE(paths.mouseMove(canvas(), {190, 50}, true));
    EXPECT_EQ(paths.currentCount(), kMaxPathCount);
}

TEST_F(AlignmentPathsTest, CountBeyondSlotsNeverIndexesPastTheLastSlot)
{
    paths.choosePath(canvas(), {1, PathSide::In});
    paths.path({1, PathSide::In}).count = 123456;
    EXPECT_FALSE(paths.mouseMove(canvas(), {10, 10}, true));
    EXPECT_EQ(paths.currentCount(), kMaxPathCount);
    paths.showAllPaths(canvas());
    paths.timerTick(canvas(), false);

    paths.path({1, PathSide::In}).count = -50;
    EXPECT_TRUE(paths.mouseMove(canvas(), {10, 10}, true));
    EXPECT_EQ(paths.path({1, PathSide::In}).count, 0);
}

TEST_F(AlignmentPathsTest, ClearingPaintsOldPointsOutAndEmptiesEverySlot)
{
    fillPath({2, PathSide::In}, 9, 40, 40);
    paths.path({2, PathSide::In}).points[kMaxPathCount] = {150, 80};
    stage.canvas().brush = {kWhite, BrushStyle::Solid};
    stage.canvas().fillRect({0, 0, 200, 100});
    paths.choosePath(canvas(), {2, PathSide::In});
    const DrawnPath& p = paths.path({2, PathSide::In});
    EXPECT_EQ(p.count, -1);
    for (const PathPoint& point : p.points)
        ASSERT_EQ(point, PathPoint{});
    for (int x = 39; x <= 50; ++x)
        EXPECT_EQ(stage.pixel(x, 40), kBlack) << x;
    EXPECT_EQ(stage.pixel(45, 39), kBlack);
    EXPECT_EQ(stage.pixel(45, 41), kBlack);
    EXPECT_EQ(stage.pixel(150, 80), kBlack);
    EXPECT_EQ(stage.pixel(45, 42), kWhite);
    ASSERT_TRUE(paths.currentPath().has_value());
    EXPECT_EQ(*paths.currentPath(), (PathId{2, PathSide::In}));
}

TEST_F(AlignmentPathsTest, DrawTpathSetsTheCrossOfFivePixels)
{
    drawTpath(canvas(), 10, 20, kBlue);
    int coloured = 0;
    for (int y = 0; y < stage.height(); ++y)
        for (int x = 0; x < stage.width(); ++x)
            coloured += stage.pixel(x, y) == kBlue;
    EXPECT_EQ(coloured, 5);
    for (const Point p : {Point{10, 20}, Point{11, 20}, Point{9, 20}, Point{10, 21}, Point{10, 19}})
        EXPECT_EQ(stage.pixel(p.x, p.y), kBlue);
    drawTpath(canvas(), 0, 0, kBlue); // corner: the pixels off the canvas are skipped
    EXPECT_EQ(stage.pixel(0, 0), kBlue);
}

TEST_F(AlignmentPathsTest, GridIsTheCentreLineGreyOnBlackOff)
{
    Bitmap odd(201, 50, PixelFormat::Bits32);
    drawGrid(odd.canvas(), true);
    for (int y = 0; y < 50; ++y)
        ASSERT_EQ(odd.pixel(100, y), kGrey) << y;
    EXPECT_EQ(odd.pixel(99, 10), kBlack);
    EXPECT_EQ(odd.pixel(101, 10), kBlack);
    drawGrid(odd.canvas(), false);
    for (int y = 0; y < 50; ++y)
        ASSERT_EQ(odd.pixel(100, y), kBlack) << y;
}

TEST_F(AlignmentPathsTest, TimerAlternatesDashedAndDottedAndSkipsUnusedLines)
{
    // Line 1 IN: points 0 (0,10), 1 (40,10), 2 (80,10); the tick draws through points 0..count-1.
    DrawnPath& p = paths.path({1, PathSide::In});
    p.count = 2;
    p.points[0] = {0, 10};
    p.points[1] = {40, 10};
    p.points[2] = {80, 10};
    fillPath({2, PathSide::Out}, 5, 0, 70);
    workspace.page.line(2).titleValid = false;

    paths.timerTick(canvas(), false);
    EXPECT_TRUE(paths.phase());
    EXPECT_EQ(stage.pixel(4, 10), kRed) << "dashed: 18 on";
    EXPECT_EQ(stage.pixel(20, 10), kBlack) << "dashed: then 6 off";
    EXPECT_EQ(stage.pixel(41, 10), kBlack) << "the segment to the last point is not drawn";
    EXPECT_EQ(stage.pixel(0, 70), kBlack) << "line 2 is not in use";
    EXPECT_EQ(canvas().pen.color, kBlack);

    paths.timerTick(canvas(), true);
    EXPECT_FALSE(paths.phase());
    EXPECT_EQ(stage.pixel(4, 10), kBlack) << "dotted: 3 on, 3 off";
    EXPECT_EQ(stage.pixel(7, 10), kRed);
    EXPECT_EQ(stage.pixel(100, 0), kGrey) << "grid drawn with the box checked";
}

TEST_F(AlignmentPathsTest, DrawnPathsAlternateBetweenDottedAndDashedOnTheTimer)
{
    // A path drawn with the mouse: points one pixel apart, so each segment is one pixel long.
    fillPath({1, PathSide::In}, 40, 0, 10);
    canvas().brush = {kBlack, BrushStyle::Solid};
    paths.timerTick(canvas(), false);
    EXPECT_EQ(stage.pixel(4, 10), kRed) << "dashed: 18 on";
    EXPECT_EQ(stage.pixel(20, 10), kBlack) << "dashed: then 6 off";
    paths.timerTick(canvas(), false);
    EXPECT_EQ(stage.pixel(4, 10), kBlack) << "dotted: 3 on, 3 off";
    EXPECT_EQ(stage.pixel(20, 10), kRed);
}

TEST_F(AlignmentPathsTest, ShowAllPathsStopsAtTheLastRecordedSlot)
{
    fillPath({3, PathSide::Out}, kMaxPathCount, 0, 0); // points run off the right edge: clipped
    DrawnPath& p = paths.path({3, PathSide::Out});
    for (int i = 0; i <= kLastRecordedSlot; ++i)
        p.points[static_cast<std::size_t>(i)] = {static_cast<std::uint16_t>(i % 50), 5};
    p.points[kMaxPathCount] = {199, 99};
    fillPath({1, PathSide::In}, 1, 10, 20);
    canvas().pen.color = kWhite;
    paths.showAllPaths(canvas());
    EXPECT_EQ(stage.pixel(10, 20), kWhite) << "a path of two points is drawn";
    EXPECT_EQ(stage.pixel(150, 60), kBlack) << "no line towards the unrecorded slot 999";
    EXPECT_TRUE(paths.anyPathDrawn());
}

TEST_F(AlignmentPathsTest, ReleaseMovesTheTitleToThePathEndAndPressBlacksItOut)
{
    Bitmap picture(4, 3, PixelFormat::Bits32);
    picture.canvas().brush = {kWhite, BrushStyle::Solid};
    picture.canvas().fillRect({0, 0, 4, 3});
    TitlePictures pictures{};
    pictures[0] = {&picture, {100, 60}};
    canvas().draw(100, 60, picture);

    paths.choosePath(canvas(), {1, PathSide::In});
    paths.mouseMove(canvas(), {30, 30}, true);
    paths.mouseMove(canvas(), {40, 30}, true); // last path point (31, 30)
    paths.mouseUp(canvas(), pictures);
    EXPECT_EQ(stage.pixel(100, 60), kBlack);
    EXPECT_EQ(stage.pixel(103, 62), kBlack);
    EXPECT_EQ(stage.pixel(31, 30), kWhite);
    EXPECT_EQ(stage.pixel(34, 32), kWhite);

    paths.mouseDown(canvas(), {90, 80}, false, pictures);
    EXPECT_EQ(stage.pixel(31, 30), kWhite) << "only the left button blacks out";
    paths.mouseDown(canvas(), {90, 80}, true, pictures);
    EXPECT_EQ(stage.pixel(32, 31), kBlack);
    EXPECT_EQ(stage.pixel(34, 32), kBlack);
    EXPECT_EQ(canvas().copyMode, RasterOp::SrcCopy);
    EXPECT_EQ(canvas().penPosition(), (Point{90, 80}));
}

struct RestCase {
    int inCount;
    Point expected;
};

class RestPositionTest : public AlignmentPathsTest, public ::testing::WithParamInterface<RestCase> {};

TEST_P(RestPositionTest, RestComesFromTheImageOrTheInPathEnd)
{
    const RestCase c = GetParam();
    DrawnPath& in = paths.path({2, PathSide::In});
    in.count = c.inCount;
    for (int i = 0; i < kPathSlots; ++i)
        in.points[static_cast<std::size_t>(i)] = {static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i + 1000)};
    workspace.stage.restOf(3) = {5, 6};
    workspace.page.line(3).titleValid = false;
    paths.takeRestPositions({Point{1, 1}, Point{300, 400}, Point{7, 8}});
    EXPECT_EQ(workspace.stage.restOf(2), c.expected);
    EXPECT_EQ(workspace.stage.restOf(1), (Point{1, 1})) << "empty IN path: where the image was left";
    EXPECT_EQ(workspace.stage.restOf(3), (Point{5, 6})) << "a line not in use keeps its rest position";
}

INSTANTIATE_TEST_SUITE_P(Counts, RestPositionTest,
                         ::testing::Values(RestCase{-1, {300, 400}}, RestCase{0, {300, 400}},
                                           RestCase{1, {0, 1000}}, RestCase{10, {9, 1009}},
                                           RestCase{999, {998, 1998}}, RestCase{70000, {998, 1998}}));

TEST(SafeAreas, CentredAtNinetyThreeAndNinetyPercentOfTheStage)
{
    EXPECT_EQ(safeArea({1920, 1080}, kActionSafePercent), (Rect{67, 38, 67 + 1785, 38 + 1004}));
    EXPECT_EQ(safeArea({1920, 1080}, kTitleSafePercent), (Rect{96, 54, 96 + 1728, 54 + 972}));
}

} // namespace
} // namespace lumavo
