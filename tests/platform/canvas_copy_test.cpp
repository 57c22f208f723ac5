#include "platform/bitmap.h"
#include "raster_op_reference.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

using test::rasterOpColor;

Color sourceColor(int x, int y) { return rgb(static_cast<std::uint8_t>(x * 41 + 5), static_cast<std::uint8_t>(y * 77 + 13), static_cast<std::uint8_t>(x * y * 29 + 0x5A)); }
Color targetColor(int x, int y) { return rgb(static_cast<std::uint8_t>(y * 19 + 0xC3), static_cast<std::uint8_t>(x * 97 + 1), static_cast<std::uint8_t>(x + y * 3 + 0x33)); }

Bitmap makeBitmap(int w, int h, PixelFormat f, Color (*color)(int, int))
{
    Bitmap bm(w, h, f);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bm.setPixel(x, y, color(x, y));
    return bm;
}

struct CopyCase {
    RasterOp op;
    PixelFormat source;
    PixelFormat target;
};

class CopyModes : public ::testing::TestWithParam<CopyCase> {};

TEST_P(CopyModes, DrawMatchesTheBitwiseDefinitionAndClipsToTheTarget)
{
    const auto [op, sf, tf] = GetParam();
    const Bitmap src = makeBitmap(9, 6, sf, sourceColor);
    Bitmap dst = makeBitmap(12, 8, tf, targetColor);
    const Color brush = rgb(0x12, 0xA4, 0x6F);
    dst.canvas().brush.color = brush;
    dst.canvas().copyMode = op;
    const int ox = 5, oy = -2; // hangs over the right and top edges
    dst.canvas().draw(ox, oy, src);
    for (int y = 0; y < dst.height(); ++y)
        for (int x = 0; x < dst.width(); ++x) {
            const int sx = x - ox, sy = y - oy;
            const bool covered = sx >= 0 && sy >= 0 && sx < src.width() && sy < src.height();
            const Color want = covered ? rasterOpColor(op, src.pixel(sx, sy), targetColor(x, y), brush)
                                       : targetColor(x, y);
            ASSERT_EQ(dst.pixel(x, y), want) << "at " << x << "," << y;
        }
}

TEST_P(CopyModes, StretchDrawUsesTheNearestSourcePixel)
{
    const auto [op, sf, tf] = GetParam();
    const Bitmap src = makeBitmap(5, 4, sf, sourceColor);
    Bitmap dst = makeBitmap(14, 11, tf, targetColor);
    const Color brush = rgb(0x80, 0x01, 0xFE);
    dst.canvas().brush.color = brush;
    dst.canvas().copyMode = op;
    const Rect r{2, 1, 15, 10}; // 13 x 9, one column past the right edge
    dst.canvas().stretchDraw(r, src);
    for (int y = 0; y < dst.height(); ++y)
        for (int x = 0; x < dst.width(); ++x) {
            const bool covered = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            Color want = targetColor(x, y);
            if (covered) {
                const int sx = (x - r.left) * src.width() / r.width();
                const int sy = (y - r.top) * src.height() / r.height();
                want = rasterOpColor(op, src.pixel(sx, sy), targetColor(x, y), brush);
            }
            ASSERT_EQ(dst.pixel(x, y), want) << "at " << x << "," << y;
        }
}

std::vector<CopyCase> allCases()
{
    std::vector<CopyCase> cases;
    const RasterOp ops[] = {RasterOp::SrcCopy,  RasterOp::NotSrcCopy, RasterOp::NotSrcErase, RasterOp::PatPaint,
                            RasterOp::SrcErase, RasterOp::SrcInvert,  RasterOp::SrcPaint,    RasterOp::Blackness};
    const std::pair<PixelFormat, PixelFormat> formats[] = {
        {PixelFormat::Bits24, PixelFormat::Bits24}, {PixelFormat::Bits32, PixelFormat::Bits32},
        {PixelFormat::Bits24, PixelFormat::Bits32}, {PixelFormat::Bits32, PixelFormat::Bits24},
        {PixelFormat::Device, PixelFormat::Bits24}, {PixelFormat::Bits24, PixelFormat::Device}};
    for (RasterOp op : ops)
        for (auto [s, t] : formats)
            cases.push_back({op, s, t});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Canvas, CopyModes, ::testing::ValuesIn(allCases()));

TEST(CanvasCopy, ThirtyTwoBitTargetsApplyTheOperationToTheFourthByteToo)
{
    Bitmap src(1, 1, PixelFormat::Bits32);
    Bitmap dst(1, 1, PixelFormat::Bits32);
    dst.canvas().copyMode = RasterOp::NotSrcCopy;
    dst.canvas().draw(0, 0, src);
    EXPECT_EQ(dst.scanLine(0)[3], 0xFF);
    EXPECT_EQ(dst.pixel(0, 0), kWhite);
}

TEST(CanvasCopy, SixteenAndEightBitTargetsGoThroughColours)
{
    const Bitmap src = makeBitmap(4, 3, PixelFormat::Bits24, [](int x, int) { return x % 2 ? kWhite : rgb(255, 0, 0); });
    for (PixelFormat f : {PixelFormat::Bits16, PixelFormat::Bits8}) {
        Bitmap dst(6, 5, f);
        dst.canvas().copyMode = RasterOp::SrcInvert;
        dst.canvas().draw(1, 1, src);
        EXPECT_EQ(dst.pixel(1, 1), rgb(255, 0, 0));
        EXPECT_EQ(dst.pixel(2, 1), kWhite);
        EXPECT_EQ(dst.pixel(0, 0), kBlack);
        dst.canvas().draw(1, 1, src);
        EXPECT_EQ(dst.pixel(2, 2), kBlack) << "xor twice restores";
        Bitmap back(4, 3, PixelFormat::Bits32);
        back.canvas().copyRect({0, 0, 4, 3}, dst, {1, 1, 5, 4}, RasterOp::SrcCopy);
        EXPECT_EQ(back.pixel(0, 0), kBlack);
    }
}

TEST(CanvasCopy, CopyRectTakesPartOfTheSourceAndMayOverlapItself)
{
    Bitmap bm = makeBitmap(8, 8, PixelFormat::Bits24, sourceColor);
    const Bitmap before = bm;
    bm.canvas().copyRect({2, 2, 6, 6}, bm, {0, 0, 4, 4}, RasterOp::SrcCopy);
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x)
            ASSERT_EQ(bm.pixel(x, y), before.pixel(x - 2, y - 2));
    EXPECT_EQ(bm.pixel(6, 6), before.pixel(6, 6));
}

TEST(CanvasCopy, OverlappingCopiesWithinOneBitmapReadTheOriginalPixels)
{
    for (const auto& [dstRect, srcRect] : {std::pair{Rect{0, 0, 5, 5}, Rect{2, 1, 7, 6}},
                                           std::pair{Rect{1, 2, 8, 8}, Rect{-1, 0, 6, 6}},
                                           std::pair{Rect{0, 0, 8, 8}, Rect{1, 1, 5, 5}}}) {
        Bitmap bm = makeBitmap(8, 8, PixelFormat::Bits32, sourceColor);
        const Bitmap before = bm;
        bm.canvas().copyRect(dstRect, bm, srcRect, RasterOp::SrcInvert);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                Color want = before.pixel(x, y);
                if (x >= dstRect.left && x < dstRect.right && y >= dstRect.top && y < dstRect.bottom) {
                    const int sx = srcRect.left + (x - dstRect.left) * srcRect.width() / dstRect.width();
                    const int sy = srcRect.top + (y - dstRect.top) * srcRect.height() / dstRect.height();
                    if (sx >= 0 && sy >= 0 && sx < 8 && sy < 8)
                        want = rasterOpColor(RasterOp::SrcInvert, before.pixel(sx, sy), want, 0);
                }
                ASSERT_EQ(bm.pixel(x, y), want) << x << "," << y;
            }
    }
}

TEST(CanvasCopy, HugeStretchTargetsAreClippedBeforeAnyWork)
{
    const Bitmap src = makeBitmap(2, 2, PixelFormat::Bits24, sourceColor);
    Bitmap dst(8, 8, PixelFormat::Bits24);
    dst.canvas().stretchDraw({-1000000000, 0, 1000000000, 8}, src);
    // The visible columns all lie just right of the middle of the target: source column 1.
    EXPECT_EQ(dst.pixel(0, 0), src.pixel(1, 0));
    EXPECT_EQ(dst.pixel(7, 7), src.pixel(1, 1));
}

TEST(CanvasCopy, SourceRectanglesOutsideTheSourceDrawOnlyTheirInsidePart)
{
    const Bitmap src = makeBitmap(4, 4, PixelFormat::Bits32, sourceColor);
    Bitmap dst(8, 8, PixelFormat::Bits32);
    dst.canvas().copyRect({0, 0, 6, 6}, src, {-2, -2, 4, 4}, RasterOp::SrcCopy);
    EXPECT_EQ(dst.pixel(1, 1), kBlack);
    EXPECT_EQ(dst.pixel(2, 2), src.pixel(0, 0));
    EXPECT_EQ(dst.pixel(5, 5), src.pixel(3, 3));
}

TEST(CanvasCopy, EmptyStretchTargetDrawsNothing)
{
    const Bitmap src = makeBitmap(4, 4, PixelFormat::Bits24, sourceColor);
    Bitmap dst(8, 8, PixelFormat::Bits24);
    dst.canvas().stretchDraw({3, 3, 3, 7}, src);
    dst.canvas().stretchDraw({5, 3, 2, 7}, src);
    EXPECT_TRUE(dst.samePixels(Bitmap(8, 8, PixelFormat::Bits24)));
}

} // namespace
} // namespace lumavo
