#include "compose/smooth_effects.h"
#include "compose/title_composer.h"

#include <gtest/gtest.h>

#include <set>

namespace lumavo {
namespace {

constexpr Point kScreen{1024, 768};
constexpr Point kRest{100, 200};

TitleLine textLine(const QString& text, int points)
{
    TitleLine line;
    line.text = text;
    line.fontSize = points;
    line.fontColor = rgb(0, 255, 0);
    line.shadowColor = rgb(255, 255, 255);
    return line;
}

ComposedTitle compose(TitleLine line, bool smooth, int n = 2)
{
    Canvas::setLogicalDpi(96);
    const ComposeFormats formats{PixelFormat::Bits32, PixelFormat::Bits32, smooth};
    return composeTitle(line, n, kRest, formats, false, QString(), kScreen);
}

std::uint32_t word(const Bitmap& bm, int x, int y) { return reinterpret_cast<const std::uint32_t*>(bm.scanLine(y))[x]; }

// Ink inside the frame: lit pixels (classic) or covered ones (smooth).
int inkInsideFrame(const Bitmap& bm)
{
    int count = 0;
    for (int y = 1; y + 1 < bm.height(); ++y)
        for (int x = 1; x + 1 < bm.width(); ++x)
            count += bm.hasAlpha() ? (word(bm, x, y) >> 24) != 0 : bm.pixel(x, y) != kBlack;
    return count;
}

// The same text drawn freely, far from any edge.
int freeInk(const TitleLine& line, bool smooth)
{
    Bitmap bm(800, 300, PixelFormat::Bits32);
    bm.setAlpha(smooth);
    bm.canvas().brush = {kBlack, BrushStyle::Clear};
    bm.canvas().font.points = line.fontSize;
    bm.canvas().font.style = line.fontStyle;
    bm.canvas().font.color = line.fontColor;
    bm.canvas().textOut(200, 100, line.text);
    return inkInsideFrame(bm);
}

// A classic title keeps the ink on its cell's outermost pixels under the frame (italic "J" starts
// there), so it is checked on an italic "f", which overhangs its advance by several pixels.
TEST(InkMeasure, OverhangingGlyphsAreNotCutInEitherMode)
{
    for (const bool smooth : {false, true}) {
        TitleLine line = textLine(smooth ? QStringLiteral("Jaf") : QStringLiteral("f"), 60);
        line.fontStyle = kStyleItalic;
        const ComposedTitle title = compose(line, smooth);
        ASSERT_TRUE(title.ok);
        EXPECT_EQ(inkInsideFrame(title.bitmap), freeInk(line, smooth)) << (smooth ? "smooth" : "classic");
    }
}

TEST(SmoothTitle, HasGradedAlphaAnOpaqueInsideAndATransparentFrame)
{
    const ComposedTitle title = compose(textLine(QStringLiteral("Hello"), 40), true);
    ASSERT_TRUE(title.ok);
    const Bitmap& bm = title.bitmap;
    ASSERT_TRUE(bm.hasAlpha());
    std::set<std::uint32_t> levels;
    for (int y = 0; y < bm.height(); ++y)
        for (int x = 0; x < bm.width(); ++x)
            levels.insert(word(bm, x, y) >> 24);
    EXPECT_TRUE(levels.count(255));
    EXPECT_GT(levels.size(), 8u);
    for (int x = 0; x < bm.width(); ++x)
        EXPECT_EQ(word(bm, x, 0), 0u);
}

TEST(SmoothTitle, FilterAndGradientChangeColourButNotCoverage)
{
    TitleLine plain = textLine(QStringLiteral("Wave"), 40);
    plain.shadowOn = true;
    TitleLine styled = plain;
    styled.archOn = true;
    styled.gradOn = true;
    const Bitmap a = compose(plain, true).bitmap;
    const Bitmap b = compose(styled, true).bitmap;
    ASSERT_EQ(a.width(), b.width());
    ASSERT_EQ(a.height(), b.height());
    bool colourChanged = false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const std::uint32_t wa = word(a, x, y), wb = word(b, x, y);
            ASSERT_EQ(wa >> 24, wb >> 24) << x << "," << y;
            for (int c = 0; c < 3; ++c)
                ASSERT_LE((wb >> (8 * c)) & 0xFF, wb >> 24);
            colourChanged |= wa != wb;
        }
    EXPECT_TRUE(colourChanged);
}

TEST(SmoothTitle, OutlineAndSoftShadowWidenTheTitleAndAreIgnoredInClassicMode)
{
    TitleLine line = textLine(QStringLiteral("Lower third"), 30);
    line.shadowOn = true;
    TitleLine styled = line;
    styled.outlineWidth = 3;
    styled.outlineColor = rgb(255, 0, 0);
    styled.softShadowRadius = 6;
    const Bitmap plain = compose(line, true).bitmap;
    const Bitmap rich = compose(styled, true).bitmap;
    EXPECT_GE(rich.width(), plain.width() + 2 * 3 + softBlurReach(6) - 2);
    int red = 0;
    for (int y = 0; y < rich.height(); ++y)
        for (int x = 0; x < rich.width(); ++x)
            red += word(rich, x, y) == 0xFFFF0000u;
    EXPECT_GT(red, 50);
    EXPECT_TRUE(compose(styled, false).bitmap.samePixels(compose(line, false).bitmap));
}

TEST(SoftBlur, SpreadsCoverageAndKeepsPixelsPremultiplied)
{
    Bitmap bm(21, 21, PixelFormat::Bits32);
    bm.setAlpha(true);
    bm.canvas().brush.color = rgb(255, 128, 0);
    bm.canvas().fillRect({8, 8, 13, 13});
    blurPremultiplied(bm, 6);
    EXPECT_NE(word(bm, 8 - softBlurReach(6) + 2, 10) >> 24, 0u);
    EXPECT_LT(word(bm, 10, 10) >> 24, 255u);
    EXPECT_EQ(word(bm, 0, 0), 0u);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_LE((word(bm, x, y) >> (8 * c)) & 0xFF, word(bm, x, y) >> 24);
}

} // namespace
} // namespace lumavo
