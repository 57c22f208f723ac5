#include "platform/bitmap.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

constexpr Color kGreen = rgb(0, 255, 0);
constexpr Color kNavy = rgb(0, 0, 255); // exact in every format

class CanvasText : public ::testing::Test {
protected:
    void SetUp() override { Canvas::setLogicalDpi(96); }
    void TearDown() override { Canvas::setLogicalDpi(0); }
};

TEST_F(CanvasText, PointsBecomePixelsAtTheLogicalDpi)
{
    EXPECT_EQ(Canvas::pixelHeightForPoints(60), 80);
    EXPECT_EQ(Canvas::pixelHeightForPoints(8), 11);  // 10.67 rounds up
    EXPECT_EQ(Canvas::pixelHeightForPoints(10), 13); // 13.33 rounds down
    Canvas::setLogicalDpi(120);
    EXPECT_EQ(Canvas::pixelHeightForPoints(60), 100);
}

TEST_F(CanvasText, CellHeightIsAtLeastTheCharacterHeight)
{
    Bitmap bm(10, 10);
    bm.canvas().font.points = 60;
    const int h = bm.canvas().textHeight(QStringLiteral("Hg"));
    EXPECT_GE(h, 80);
    EXPECT_LT(h, 120);
    bm.canvas().font.points = 12;
    EXPECT_LT(bm.canvas().textHeight(QStringLiteral("Hg")), h);
}

TEST_F(CanvasText, WidthGrowsWithTheTextAndWithBold)
{
    Bitmap bm(10, 10);
    bm.canvas().font.points = 24;
    const int one = bm.canvas().textWidth(QStringLiteral("W"));
    const int three = bm.canvas().textWidth(QStringLiteral("WWW"));
    EXPECT_GT(one, 0);
    EXPECT_GE(three, 3 * one - 2);
    EXPECT_EQ(bm.canvas().textWidth(QString()), 0);
    const int regular = bm.canvas().textWidth(QStringLiteral("rtrtrtrt"));
    bm.canvas().font.style = kStyleBold;
    EXPECT_GT(bm.canvas().textWidth(QStringLiteral("rtrtrtrt")), regular);
}

Bitmap drawText(PixelFormat format, BrushStyle brush)
{
    Bitmap bm(1, 1, format);
    Canvas& c = bm.canvas();
    c.font.points = 30;
    c.font.color = kGreen;
    const QString text = QStringLiteral("Ag W");
    const int w = c.textWidth(text) + 20, h = c.textHeight(text) + 20;
    bm.setSize(w, h);
    c.brush.color = rgb(255, 0, 0);
    c.fillRect({0, 0, w, h});
    c.brush = {kNavy, brush};
    c.textOut(10, 10, text);
    return bm;
}

class TextFormats : public ::testing::TestWithParam<PixelFormat> {};

TEST_P(TextFormats, OpaqueTextFillsItsCellWithTheBrushAndHasNoInBetweenPixels)
{
    const Bitmap bm = drawText(GetParam(), BrushStyle::Solid);
    const int cellW = bm.width() - 20, cellH = bm.height() - 20;
    int text = 0;
    for (int y = 0; y < bm.height(); ++y)
        for (int x = 0; x < bm.width(); ++x) {
            const Color c = bm.pixel(x, y);
            const bool inCell = x >= 10 && y >= 10 && x < 10 + cellW && y < 10 + cellH;
            if (c == kGreen) {
                ++text;
                continue;
            }
            ASSERT_EQ(c, inCell ? kNavy : rgb(255, 0, 0)) << x << "," << y;
        }
    EXPECT_GT(text, 50);
}

TEST_P(TextFormats, TransparentTextLeavesTheBackground)
{
    const Bitmap bm = drawText(GetParam(), BrushStyle::Clear);
    int text = 0;
    for (int y = 0; y < bm.height(); ++y)
        for (int x = 0; x < bm.width(); ++x) {
            const Color c = bm.pixel(x, y);
            text += c == kGreen;
            ASSERT_TRUE(c == kGreen || c == rgb(255, 0, 0)) << x << "," << y;
        }
    EXPECT_GT(text, 50);
}

INSTANTIATE_TEST_SUITE_P(Canvas, TextFormats,
                         ::testing::Values(PixelFormat::Bits8, PixelFormat::Bits16, PixelFormat::Bits24,
                                           PixelFormat::Bits32));

TEST_F(CanvasText, TextStartsAtTheCellTopLeftAndIsClipped)
{
    Bitmap bm(200, 60, PixelFormat::Bits24);
    Canvas& c = bm.canvas();
    c.font.points = 24;
    c.font.color = kWhite;
    c.brush.style = BrushStyle::Clear;
    c.textOut(-5, -1, QStringLiteral("HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH"));
    int leftColumn = 0;
    for (int y = 0; y < bm.height(); ++y)
        leftColumn += bm.pixel(0, y) == kWhite;
    EXPECT_GT(leftColumn, 0) << "an H cut by the left edge";
    const int h = c.textHeight(QStringLiteral("H"));
    for (int y = h; y < bm.height(); ++y)
        for (int x = 0; x < bm.width(); ++x)
            ASSERT_NE(bm.pixel(x, y), kWhite) << "below the cell at " << x << "," << y;
}

TEST_F(CanvasText, UnderlineAddsPixelsBelowTheLetters)
{
    auto count = [](std::uint8_t style) {
        Bitmap bm(200, 60, PixelFormat::Bits24);
        bm.canvas().font.points = 20;
        bm.canvas().font.style = style;
        bm.canvas().font.color = kWhite;
        bm.canvas().brush.style = BrushStyle::Clear;
        bm.canvas().textOut(0, 0, QStringLiteral("HHHH"));
        int n = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 200; ++x)
                n += bm.pixel(x, y) == kWhite;
        return n;
    };
    const int plain = count(0);
    EXPECT_GT(count(kStyleUnderline), plain);
    EXPECT_GT(count(kStyleStrikeOut), plain);
    EXPECT_GT(count(kStyleBold), plain);
}

TEST_F(CanvasText, RightToLeftTextWasLaidOutLeftToRight)
{
    // "مرحباabc" read right to left shows the Latin word on the left, as "abcمرحبا" read left to
    // right does; a left-to-right layout put it on the right.
    const auto draw = [](const QString& text) {
        Bitmap bm(300, 60, PixelFormat::Bits24);
        bm.canvas().font.points = 20;
        bm.canvas().font.color = kWhite;
        bm.canvas().brush.style = BrushStyle::Clear;
        bm.canvas().textOut(0, 0, text);
        return bm;
    };
    const Bitmap rightToLeft = draw(QString::fromUtf8("مرحباabc"));
    const Bitmap leftToRight = draw(QString::fromUtf8("abcمرحبا"));
    int differing = 0, ink = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 300; ++x) {
            differing += rightToLeft.pixel(x, y) != leftToRight.pixel(x, y);
            ink += rightToLeft.pixel(x, y) == kWhite;
        }
    }
    EXPECT_GT(ink, 100) << "the Arabic letters come from a fallback font";
    EXPECT_EQ(differing, 0);
}

} // namespace
} // namespace lumavo
