#include "platform/bitmap.h"
#include "platform/pixel_rows.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstring>

namespace lumavo {
namespace {

// A picture with every channel value varied, so format conversions have something to lose.
void paintRamp(Bitmap& bm)
{
    for (int y = 0; y < bm.height(); ++y)
        for (int x = 0; x < bm.width(); ++x)
            bm.setPixel(x, y, rgb(static_cast<std::uint8_t>(x * 37 + y), static_cast<std::uint8_t>(y * 53 + 7),
                                  static_cast<std::uint8_t>(x * y * 11 + 3)));
}

TEST(Bitmap, RowsArePaddedToFourBytes)
{
    EXPECT_EQ(Bitmap(5, 2, PixelFormat::Bits24).bytesPerLine(), 16);
    EXPECT_EQ(Bitmap(5, 2, PixelFormat::Bits32).bytesPerLine(), 20);
    EXPECT_EQ(Bitmap(5, 2, PixelFormat::Device).bytesPerLine(), 20);
    EXPECT_EQ(Bitmap(3, 2, PixelFormat::Bits16).bytesPerLine(), 8);
    EXPECT_EQ(Bitmap(5, 2, PixelFormat::Bits8).bytesPerLine(), 8);
}

TEST(Bitmap, ScanLinesHoldBlueGreenRedBytes)
{
    Bitmap b24(3, 2, PixelFormat::Bits24);
    b24.setPixel(1, 1, rgb(10, 20, 30));
    const std::uint8_t* row = b24.scanLine(1);
    EXPECT_EQ(row[3], 30);
    EXPECT_EQ(row[4], 20);
    EXPECT_EQ(row[5], 10);

    Bitmap b32(3, 2, PixelFormat::Bits32);
    b32.setPixel(2, 0, rgb(10, 20, 30));
    const std::uint8_t* row32 = b32.scanLine(0);
    EXPECT_EQ(row32[8], 30);
    EXPECT_EQ(row32[9], 20);
    EXPECT_EQ(row32[10], 10);
    EXPECT_EQ(row32[11], 0);
    EXPECT_EQ(b32.pixel(2, 0), rgb(10, 20, 30));
}

TEST(Bitmap, OutOfRangePixelsReadBlackAndIgnoreWrites)
{
    Bitmap bm(2, 2, PixelFormat::Bits24);
    bm.canvas().brush.color = kWhite;
    bm.setPixel(-1, 0, kWhite);
    bm.setPixel(2, 0, kWhite);
    bm.setPixel(0, 2, kWhite);
    EXPECT_EQ(bm.pixel(5, 5), kBlack);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(bm.pixel(x, y), kBlack);
}

TEST(Bitmap, TwentyFourToThirtyTwoAndBackIsExact)
{
    Bitmap bm(37, 11, PixelFormat::Bits24);
    paintRamp(bm);
    const Bitmap original = bm;
    bm.setPixelFormat(PixelFormat::Bits32);
    EXPECT_EQ(bm.bitsPerPixel(), 32);
    EXPECT_TRUE(bm.samePixels(original));
    for (int y = 0; y < bm.height(); ++y)
        for (int x = 0; x < bm.width(); ++x)
            ASSERT_EQ(bm.scanLine(y)[4 * x + 3], 0) << "the fourth byte of a converted pixel is 0";
    bm.setPixelFormat(PixelFormat::Bits24);
    EXPECT_EQ(std::memcmp(bm.scanLine(0), original.scanLine(0),
                          static_cast<std::size_t>(bm.bytesPerLine()) * bm.height()),
              0);
}

class PaletteFormats : public ::testing::TestWithParam<PixelFormat> {};

TEST_P(PaletteFormats, KeepThePictureApproximatelyAndPureColoursExactly)
{
    Bitmap bm(40, 9, PixelFormat::Bits24);
    paintRamp(bm);
    const Color pure[] = {kBlack, kWhite, rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255),
                          rgb(255, 255, 0), rgb(0, 255, 255), rgb(255, 0, 255)};
    for (int i = 0; i < 8; ++i)
        bm.setPixel(i, 0, pure[i]);
    const Bitmap original = bm;
    bm.setPixelFormat(GetParam());
    bm.setPixelFormat(PixelFormat::Bits24);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(bm.pixel(i, 0), pure[i]) << i;
    // 8 bits: a 51-step cube, so a channel is off by at most about half a step (more on greyish mixes).
    const int tolerance = GetParam() == PixelFormat::Bits8 ? 40 : 4;
    for (int y = 0; y < bm.height(); ++y)
        for (int x = 0; x < bm.width(); ++x) {
            const Color a = bm.pixel(x, y), b = original.pixel(x, y);
            ASSERT_LE(std::abs(redOf(a) - redOf(b)), tolerance) << x << "," << y;
            ASSERT_LE(std::abs(greenOf(a) - greenOf(b)), tolerance) << x << "," << y;
            ASSERT_LE(std::abs(blueOf(a) - blueOf(b)), tolerance) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(Bitmap, PaletteFormats, ::testing::Values(PixelFormat::Bits8, PixelFormat::Bits16));

TEST(Bitmap, EightBitPicksTheNearestPaletteEntry)
{
    for (Color c : {rgb(1, 2, 3), rgb(200, 10, 90), rgb(128, 128, 128), rgb(30, 31, 29), rgb(250, 240, 7)}) {
        const std::uint8_t chosen = pixel_rows::nearestPaletteIndex(c);
        auto distance = [&](Color p) {
            const int dr = redOf(p) - redOf(c), dg = greenOf(p) - greenOf(c), db = blueOf(p) - blueOf(c);
            return dr * dr + dg * dg + db * db;
        };
        for (int i = 0; i < 256; ++i)
            ASSERT_LE(distance(pixel_rows::paletteColor(chosen)),
                      distance(pixel_rows::paletteColor(static_cast<std::uint8_t>(i))));
    }
}

TEST(Bitmap, SixteenBitsArePackedFiveFiveFive)
{
    Bitmap bm(1, 1, PixelFormat::Bits16);
    bm.setPixel(0, 0, rgb(255, 0, 0));
    std::uint16_t v;
    std::memcpy(&v, bm.scanLine(0), 2);
    EXPECT_EQ(v, 0x7C00);
    bm.setPixel(0, 0, rgb(0, 0, 255));
    std::memcpy(&v, bm.scanLine(0), 2);
    EXPECT_EQ(v, 0x001F);
}

TEST(Bitmap, EnlargingFillsTheNewAreaWithTheBrushColour)
{
    for (PixelFormat f : {PixelFormat::Bits24, PixelFormat::Bits32, PixelFormat::Bits16, PixelFormat::Bits8}) {
        Bitmap bm(3, 2, f);
        bm.setPixel(0, 0, kWhite);
        bm.canvas().brush.color = rgb(255, 0, 0);
        bm.setSize(5, 4);
        EXPECT_EQ(bm.pixel(0, 0), kWhite);
        EXPECT_EQ(bm.pixel(2, 1), kBlack) << "kept area keeps its pixels";
        EXPECT_EQ(bm.pixel(3, 0), rgb(255, 0, 0));
        EXPECT_EQ(bm.pixel(4, 3), rgb(255, 0, 0));
        EXPECT_EQ(bm.pixel(0, 2), rgb(255, 0, 0));
        bm.setWidth(1);
        EXPECT_EQ(bm.width(), 1);
        EXPECT_EQ(bm.pixel(0, 0), kWhite);
    }
}

TEST(Bitmap, CopiesAndMovesDrawOnTheirOwnPixels)
{
    Bitmap a(4, 4, PixelFormat::Bits24);
    a.canvas().brush.color = rgb(0, 255, 0);
    Bitmap b = a;
    b.canvas().fillRect({0, 0, 4, 4});
    EXPECT_EQ(b.pixel(1, 1), rgb(0, 255, 0));
    EXPECT_EQ(a.pixel(1, 1), kBlack) << "a copy's canvas must not draw on the original";
    Bitmap c = std::move(b);
    c.canvas().brush.color = kWhite;
    c.canvas().fillRect({0, 0, 1, 1});
    EXPECT_EQ(&c.canvas().bitmap(), &c);
    EXPECT_EQ(c.pixel(0, 0), kWhite);
    Bitmap d;
    d = c;
    EXPECT_EQ(&d.canvas().bitmap(), &d);
    d.canvas().brush.color = kBlack;
    d.canvas().fillRect({0, 0, 4, 4});
    EXPECT_EQ(c.pixel(0, 0), kWhite);
    Bitmap e;
    e = std::move(d);
    EXPECT_EQ(&e.canvas().bitmap(), &e);
}

TEST(Bitmap, ImagesRoundTrip)
{
    Bitmap bm(13, 7, PixelFormat::Bits24);
    paintRamp(bm);
    const QImage image = bm.toImage();
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(3, 2) & 0xFFFFFF,
              (static_cast<unsigned>(redOf(bm.pixel(3, 2))) << 16) | (greenOf(bm.pixel(3, 2)) << 8) |
                  blueOf(bm.pixel(3, 2)));
    const Bitmap back = Bitmap::fromImage(image, PixelFormat::Bits32);
    EXPECT_EQ(back.pixelFormat(), PixelFormat::Bits32);
    EXPECT_TRUE(back.samePixels(bm));
}

} // namespace
} // namespace lumavo
