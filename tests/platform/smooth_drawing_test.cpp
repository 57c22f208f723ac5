#include "platform/bitmap.h"
#include "platform/pixel_rows.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <set>

namespace lumavo {
namespace {

// A premultiplied B,G,R,A word from alpha and a 0x00RRGGBB-ordered colour word.
constexpr std::uint32_t px(std::uint32_t alpha, std::uint32_t rgbWord) { return (alpha << 24) | rgbWord; }

struct AlphaOpCase {
    RasterOp op;
    std::uint32_t source, target, expected;
};

class RasterOpsOnAlpha : public testing::TestWithParam<AlphaOpCase> {};

TEST_P(RasterOpsOnAlpha, CombineColourAndKeepAValidPremultipliedAlpha)
{
    const AlphaOpCase c = GetParam();
    Bitmap target(1, 1, PixelFormat::Bits32);
    target.setAlpha(true);
    *reinterpret_cast<std::uint32_t*>(target.scanLine(0)) = c.target;
    Bitmap source(1, 1, PixelFormat::Bits32);
    source.setAlpha(true);
    *reinterpret_cast<std::uint32_t*>(source.scanLine(0)) = c.source;
    target.canvas().brush.color = kBlack;
    target.canvas().copyMode = c.op;
    target.canvas().draw(0, 0, source);
    EXPECT_EQ(*reinterpret_cast<const std::uint32_t*>(target.scanLine(0)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    EachOperation, RasterOpsOnAlpha,
    testing::Values(
        // Copy takes the source whole, transparent parts included.
        AlphaOpCase{RasterOp::SrcCopy, px(0x80, 0x404040), px(0xFF, 0x102030), px(0x80, 0x404040)},
        AlphaOpCase{RasterOp::SrcCopy, 0, px(0xFF, 0x102030), 0},
        AlphaOpCase{RasterOp::Blackness, px(0xFF, 0xFFFFFF), px(0xFF, 0x102030), 0},
        // The others: the larger alpha, raised to the brightest colour byte the operation makes.
        AlphaOpCase{RasterOp::SrcPaint, px(0x80, 0x404040), px(0x20, 0x000010), px(0x80, 0x404050)},
        AlphaOpCase{RasterOp::NotSrcCopy, 0, 0, px(0xFF, 0xFFFFFF)},
        AlphaOpCase{RasterOp::SrcErase, px(0x40, 0x303030), 0, px(0x40, 0x303030)},
        // A black result is the key colour: XOR of a title with itself leaves nothing.
        AlphaOpCase{RasterOp::SrcInvert, px(0xFF, 0x00FF00), px(0xFF, 0x00FF00), 0}));

TEST(SmoothBitmap, SolidDrawingFollowsTheKeyRuleAndAFormatChangeKeepsTheColourOverBlack)
{
    Bitmap bm(4, 1, PixelFormat::Bits32);
    bm.setAlpha(true);
    bm.setPixel(0, 0, rgb(10, 20, 30));
    bm.setPixel(1, 0, kBlack);
    bm.canvas().brush.color = kWhite;
    bm.setWidth(5); // new area takes the brush
    const auto* row = reinterpret_cast<const std::uint32_t*>(bm.scanLine(0));
    EXPECT_EQ(row[0], px(0xFF, 0x0A141E));
    EXPECT_EQ(row[1], 0u);
    EXPECT_EQ(row[4], px(0xFF, 0xFFFFFF));
    bm.setPixelFormat(PixelFormat::Bits24);
    EXPECT_FALSE(bm.hasAlpha());
    EXPECT_EQ(bm.pixel(0, 0), rgb(10, 20, 30));
}

// A soft-edged logo: half-transparent red, an opaque black letter, a fully transparent corner.
TEST(SmoothBitmap, PictureKeepsItsPartialAlphaAndItsOpaqueBlack)
{
    QTemporaryDir dir;
    QImage logo(3, 1, QImage::Format_ARGB32);
    logo.setPixel(0, 0, qRgba(255, 0, 0, 128));
    logo.setPixel(1, 0, qRgba(0, 0, 0, 255));
    logo.setPixel(2, 0, qRgba(0, 0, 0, 0));
    const QString path = QDir(dir.path()).filePath(QStringLiteral("logo.png"));
    ASSERT_TRUE(logo.save(path));

    Bitmap smooth;
    ASSERT_TRUE(smooth.loadFromFile(path, nullptr, 1000, true));
    ASSERT_TRUE(smooth.hasAlpha());
    const auto* row = reinterpret_cast<const std::uint32_t*>(smooth.scanLine(0));
    EXPECT_EQ(row[0] >> 24, 128u);
    EXPECT_EQ((row[0] >> 16) & 0xFF, 128u); // premultiplied red
    EXPECT_EQ(row[1], px(0xFF, 0));
    EXPECT_EQ(row[2], 0u);

    Bitmap classic;
    ASSERT_TRUE(classic.loadFromFile(path));
    EXPECT_FALSE(classic.hasAlpha());
    EXPECT_EQ(classic.pixelFormat(), PixelFormat::Bits24);
}

TEST(SmoothText, IsAntialiasedWithAnOpaqueInsideAndValidPremultipliedPixels)
{
    Canvas::setLogicalDpi(96);
    Bitmap bm(200, 100, PixelFormat::Bits32);
    bm.setAlpha(true);
    bm.canvas().brush = {kBlack, BrushStyle::Solid};
    bm.canvas().font.points = 48;
    bm.canvas().font.color = rgb(0, 255, 0);
    bm.canvas().textOut(2, 2, QStringLiteral("O"));
    std::set<std::uint32_t> levels;
    for (int y = 0; y < bm.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(bm.scanLine(y));
        for (int x = 0; x < bm.width(); ++x) {
            const std::uint32_t a = row[x] >> 24;
            levels.insert(a);
            ASSERT_LE((row[x] >> 8) & 0xFF, a) << x << "," << y;
            ASSERT_EQ(row[x] & 0xFF00FF, 0u);
        }
    }
    EXPECT_TRUE(levels.count(255));
    EXPECT_GT(levels.size(), 8u); // graded edges, not two levels
}

} // namespace
} // namespace lumavo
