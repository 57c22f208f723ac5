#include "platform/bitmap.h"

#include <gtest/gtest.h>

#include <set>

namespace lumavo {
namespace {

constexpr Color kRed = rgb(255, 0, 0);
constexpr Color kBlue = rgb(0, 0, 255);

int countColour(const Bitmap& bm, Color c)
{
    int n = 0;
    for (int y = 0; y < bm.height(); ++y)
        for (int x = 0; x < bm.width(); ++x)
            n += bm.pixel(x, y) == c;
    return n;
}

class DrawFormats : public ::testing::TestWithParam<PixelFormat> {};

TEST_P(DrawFormats, FillRectExcludesTheRightAndBottomEdges)
{
    Bitmap bm(10, 10, GetParam());
    bm.canvas().brush.color = kRed;
    bm.canvas().fillRect({2, 3, 6, 8});
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(bm.pixel(x, y), (x >= 2 && x < 6 && y >= 3 && y < 8) ? kRed : kBlack) << x << "," << y;
}

TEST_P(DrawFormats, FillRectClipsToTheBitmap)
{
    Bitmap bm(4, 4, GetParam());
    bm.canvas().brush.color = kWhite;
    bm.canvas().fillRect({-5, -5, 50, 2});
    EXPECT_EQ(countColour(bm, kWhite), 8);
}

INSTANTIATE_TEST_SUITE_P(Canvas, DrawFormats,
                         ::testing::Values(PixelFormat::Bits8, PixelFormat::Bits16, PixelFormat::Bits24,
                                           PixelFormat::Bits32, PixelFormat::Device));

TEST(CanvasDraw, ClearBrushFillsNothing)
{
    Bitmap bm(4, 4);
    bm.canvas().brush = {kWhite, BrushStyle::Clear};
    bm.canvas().fillRect({0, 0, 4, 4});
    EXPECT_EQ(countColour(bm, kWhite), 0);
}

TEST(CanvasDraw, CrossHatchDrawsLinesEveryEighthRowAndColumnOverTheBackground)
{
    Bitmap bm(20, 20, PixelFormat::Bits24);
    bm.canvas().brush.color = rgb(192, 192, 192);
    bm.canvas().fillRect({0, 0, 20, 20});
    bm.canvas().brush = {kBlack, BrushStyle::Cross};
    bm.canvas().fillRect({3, 3, 20, 20});
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 3 && y >= 3;
            const bool line = inside && (x % 8 == 0 || y % 8 == 0);
            ASSERT_EQ(bm.pixel(x, y), line ? kBlack : rgb(192, 192, 192)) << x << "," << y;
        }
}

TEST(CanvasDraw, FrameRectIsOnePixelOnTheOutermostPixels)
{
    Bitmap bm(6, 5, PixelFormat::Bits32);
    bm.canvas().brush.color = kBlue;
    bm.canvas().frameRect({0, 0, 6, 5});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool edge = x == 0 || y == 0 || x == 5 || y == 4;
            ASSERT_EQ(bm.pixel(x, y), edge ? kBlue : kBlack) << x << "," << y;
        }
}

TEST(CanvasDraw, RectangleOutlinesWithThePenAndFillsWithTheBrush)
{
    Bitmap bm(8, 8, PixelFormat::Bits24);
    bm.canvas().pen.color = kRed;
    bm.canvas().brush.color = kBlue;
    bm.canvas().rectangle({1, 1, 6, 5});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            Color want = kBlack;
            if (x >= 1 && x < 6 && y >= 1 && y < 5)
                want = (x == 1 || x == 5 || y == 1 || y == 4) ? kRed : kBlue;
            ASSERT_EQ(bm.pixel(x, y), want) << x << "," << y;
        }
}

TEST(CanvasDraw, LineToExcludesItsLastPixelAndMovesThePen)
{
    Bitmap bm(10, 10, PixelFormat::Bits24);
    bm.canvas().pen.color = kWhite;
    bm.canvas().moveTo(1, 2);
    bm.canvas().lineTo(7, 2);
    EXPECT_EQ(bm.canvas().penPosition(), (Point{7, 2}));
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(bm.pixel(x, 2), (x >= 1 && x < 7) ? kWhite : kBlack) << x;
    EXPECT_EQ(countColour(bm, kWhite), 6);

    Bitmap diagonal(10, 10, PixelFormat::Bits32);
    diagonal.canvas().pen.color = kWhite;
    diagonal.canvas().moveTo(8, 8);
    diagonal.canvas().lineTo(2, 2);
    EXPECT_EQ(countColour(diagonal, kWhite), 6);
    EXPECT_EQ(diagonal.pixel(8, 8), kWhite);
    EXPECT_EQ(diagonal.pixel(3, 3), kWhite);
    EXPECT_EQ(diagonal.pixel(2, 2), kBlack);
}

TEST(CanvasDraw, ShallowLinesStepOnePixelPerColumn)
{
    Bitmap bm(20, 10, PixelFormat::Bits24);
    bm.canvas().pen.color = kWhite;
    bm.canvas().moveTo(0, 0);
    bm.canvas().lineTo(10, 3);
    for (int x = 0; x < 10; ++x) {
        int inColumn = 0;
        for (int y = 0; y < 10; ++y)
            inColumn += bm.pixel(x, y) == kWhite;
        EXPECT_EQ(inColumn, 1) << x;
    }
    EXPECT_EQ(bm.pixel(0, 0), kWhite);
}

Bitmap lineWith(PenStyle style, BrushStyle brush)
{
    Bitmap bm(100, 3, PixelFormat::Bits24);
    bm.canvas().brush = {kBlue, brush};
    bm.canvas().pen = {kWhite, style, 1};
    bm.canvas().moveTo(0, 1);
    bm.canvas().lineTo(100, 1);
    return bm;
}

TEST(CanvasDraw, DashedAndDottedPensLeaveGapsInTheBrushColour)
{
    const Bitmap solid = lineWith(PenStyle::Solid, BrushStyle::Solid);
    const Bitmap dashed = lineWith(PenStyle::Dash, BrushStyle::Solid);
    const Bitmap dotted = lineWith(PenStyle::Dot, BrushStyle::Solid);
    EXPECT_EQ(countColour(solid, kWhite), 100);
    EXPECT_FALSE(dashed.samePixels(solid));
    EXPECT_FALSE(dotted.samePixels(solid));
    EXPECT_FALSE(dotted.samePixels(dashed));
    EXPECT_EQ(countColour(dashed, kWhite) + countColour(dashed, kBlue), 100);
    EXPECT_EQ(countColour(dotted, kWhite) + countColour(dotted, kBlue), 100);
    // Dots are shorter than dashes: more white-to-gap changes along the same line.
    auto runs = [](const Bitmap& bm) {
        int n = 0;
        for (int x = 1; x < bm.width(); ++x)
            n += bm.pixel(x, 1) != bm.pixel(x - 1, 1);
        return n;
    };
    EXPECT_GT(runs(dotted), runs(dashed));
    EXPECT_GT(runs(dashed), 0);
}

TEST(CanvasDraw, PenGapsStayUntouchedUnderAClearBrush)
{
    const Bitmap dotted = lineWith(PenStyle::Dot, BrushStyle::Clear);
    EXPECT_EQ(countColour(dotted, kBlue), 0);
    EXPECT_GT(countColour(dotted, kWhite), 0);
    EXPECT_LT(countColour(dotted, kWhite), 100);
}

TEST(CanvasDraw, ClearPenDrawsNoLine)
{
    const Bitmap bm = lineWith(PenStyle::Clear, BrushStyle::Solid);
    EXPECT_EQ(countColour(bm, kBlack), 300);
}

TEST(CanvasDraw, WidePensDrawSquareDots)
{
    Bitmap bm(10, 10, PixelFormat::Bits24);
    bm.canvas().pen = {kWhite, PenStyle::Solid, 3};
    bm.canvas().moveTo(2, 5);
    bm.canvas().lineTo(7, 5);
    for (int x = 1; x < 8; ++x)
        for (int y = 4; y <= 6; ++y)
            EXPECT_EQ(bm.pixel(x, y), kWhite) << x << "," << y;
    EXPECT_EQ(bm.pixel(5, 3), kBlack);
}

} // namespace
} // namespace lumavo
