#include "compose/effects.h"

#include "compose/effects_reference.h"

#include <gtest/gtest.h>

#include <random>

namespace lumavo {
namespace {

Bitmap filled(int width, int height, PixelFormat format, Color c)
{
    Bitmap bitmap(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.setPixel(x, y, c);
    return bitmap;
}

Bitmap noise(int width, int height, PixelFormat format, unsigned seed, int blackPercent = 30)
{
    Bitmap bitmap(width, height, format);
    std::mt19937 rng(seed);
    const int bytes = width * (format == PixelFormat::Bits32 ? 4 : 3);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bitmap.scanLine(y);
        for (int i = 0; i < bytes; ++i)
            row[i] = static_cast<int>(rng() % 100) < blackPercent ? 0 : static_cast<std::uint8_t>(rng());
    }
    return bitmap;
}

// Raw row bytes, so a reserved byte that differs is caught too.
bool sameBytes(const Bitmap& a, const Bitmap& b)
{
    if (a.width() != b.width() || a.height() != b.height() || a.pixelFormat() != b.pixelFormat())
        return false;
    const int bytes = a.width() * (a.pixelFormat() == PixelFormat::Bits32 ? 4 : 3);
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.scanLine(y), b.scanLine(y), bytes) != 0)
            return false;
    return true;
}

bool filter(Bitmap& bitmap)
{
    return bitmap.pixelFormat() == PixelFormat::Bits32 ? Filter32(bitmap) : Filter24(bitmap);
}

struct UniformCase {
    Color in;
    Color out;
};

class FilterOnUniformArea : public testing::TestWithParam<std::tuple<PixelFormat, UniformCase>> {};

TEST_P(FilterOnUniformArea, CentreTakesTwiceTheColourWithTheNinthBitSpilled)
{
    const auto [format, c] = GetParam();
    Bitmap bitmap = filled(6, 6, format, c.in);
    ASSERT_TRUE(filter(bitmap));
    EXPECT_EQ(bitmap.pixel(2, 3), c.out);
    EXPECT_EQ(bitmap.pixel(3, 2), c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, FilterOnUniformArea,
    testing::Combine(testing::Values(PixelFormat::Bits24, PixelFormat::Bits32),
                     testing::Values(UniformCase{rgb(0, 0, 0), rgb(0, 0, 0)},
                                     UniformCase{rgb(100, 0, 0), rgb(200, 0, 0)},
                                     UniformCase{rgb(127, 127, 127), rgb(254, 254, 254)},
                                     UniformCase{rgb(128, 128, 128), rgb(0, 1, 1)},
                                     UniformCase{rgb(255, 255, 255), rgb(254, 255, 255)},
                                     UniformCase{rgb(255, 0, 0), rgb(254, 1, 0)},
                                     UniformCase{rgb(0, 200, 0), rgb(0, 144, 1)})));

TEST(Filter, LeavesTopTwoRowsAndLastColumnAlone)
{
    for (PixelFormat format : {PixelFormat::Bits24, PixelFormat::Bits32}) {
        const Bitmap before = noise(7, 6, format, 11);
        Bitmap bitmap = before;
        ASSERT_TRUE(filter(bitmap));
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(bitmap.pixel(x, 0), before.pixel(x, 0));
            EXPECT_EQ(bitmap.pixel(x, 1), before.pixel(x, 1));
        }
        for (int y = 0; y < 6; ++y)
            EXPECT_EQ(bitmap.pixel(6, y), before.pixel(6, y));
    }
}

TEST(Filter, ChangesNothingOnTooSmallBitmaps)
{
    for (PixelFormat format : {PixelFormat::Bits24, PixelFormat::Bits32}) {
        for (const auto& [w, h] : {std::pair{5, 2}, {5, 1}, {1, 9}, {0, 0}}) {
            const Bitmap before = filled(w, h, format, rgb(100, 100, 100));
            Bitmap bitmap = before;
            ASSERT_TRUE(filter(bitmap));
            EXPECT_TRUE(sameBytes(bitmap, before)) << w << "x" << h;
        }
    }
}

TEST(Filter, WidthTwoChangesOnlyColumnZeroFromRowTwo)
{
    Bitmap bitmap = filled(2, 4, PixelFormat::Bits24, rgb(60, 60, 60));
    ASSERT_TRUE(Filter24(bitmap));
    // Column 0 has no left neighbours: 8 x 60 + 60 (+ 60 above-right unless on the last row).
    EXPECT_EQ(bitmap.pixel(0, 1), rgb(60, 60, 60));
    EXPECT_EQ(bitmap.pixel(0, 2), rgb(100, 100, 100));
    EXPECT_EQ(bitmap.pixel(0, 3), rgb(90, 90, 90));
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(bitmap.pixel(1, y), rgb(60, 60, 60));
}

TEST(Filter, NeighboursOutsideTheBitmapCountAsBlack)
{
    Bitmap bitmap = filled(5, 4, PixelFormat::Bits32, rgb(60, 60, 60));
    ASSERT_TRUE(Filter32(bitmap));
    EXPECT_EQ(bitmap.pixel(2, 3), rgb(100, 100, 100)); // last row: both lower diagonals black
    EXPECT_EQ(bitmap.pixel(0, 3), rgb(90, 90, 90));    // corner: only the upper right
}

TEST(Filter, WrongFormatIsRefusedUntouched)
{
    Bitmap bitmap = filled(5, 5, PixelFormat::Bits24, rgb(100, 0, 0));
    EXPECT_FALSE(Filter32(bitmap));
    EXPECT_FALSE(Gradient32(bitmap));
    EXPECT_EQ(bitmap.pixel(2, 2), rgb(100, 0, 0));
    bitmap.setPixelFormat(PixelFormat::Bits16);
    EXPECT_FALSE(Filter24(bitmap));
    EXPECT_FALSE(Gradient24(bitmap, kWhite, kWhite));
}

// The row-based forms must match the plain array-based model byte for byte, edges included.
class RowFormsMatchModel : public testing::TestWithParam<std::tuple<PixelFormat, std::pair<int, int>>> {};

TEST_P(RowFormsMatchModel, Filter)
{
    const auto [format, size] = GetParam();
    Bitmap fast = noise(size.first, size.second, format, size.first * 31 + size.second);
    Bitmap model = fast;
    ASSERT_TRUE(filter(fast));
    const auto error = format == PixelFormat::Bits32 ? effects_reference::Filter32(model)
                                                     : effects_reference::Filter24(model);
    ASSERT_FALSE(error.has_value());
    EXPECT_TRUE(sameBytes(fast, model));
}

TEST_P(RowFormsMatchModel, Gradient)
{
    const auto [format, size] = GetParam();
    Bitmap fast = noise(size.first, size.second, format, size.first * 7 + size.second, 60);
    Bitmap model = fast;
    if (format == PixelFormat::Bits32) {
        fast.canvas().font.color = model.canvas().font.color = rgb(200, 17, 255);
        ASSERT_TRUE(Gradient32(fast));
        effects_reference::Gradient32(model);
    } else {
        ASSERT_TRUE(Gradient24(fast, rgb(10, 250, 3), rgb(255, 0, 128)));
        effects_reference::Gradient24(model, rgb(10, 250, 3), rgb(255, 0, 128));
    }
    EXPECT_TRUE(sameBytes(fast, model));
}

INSTANTIATE_TEST_SUITE_P(Sizes, RowFormsMatchModel,
                         testing::Combine(testing::Values(PixelFormat::Bits24, PixelFormat::Bits32),
                                          testing::Values(std::pair{1, 1}, std::pair{2, 3}, std::pair{3, 3},
                                                          std::pair{9, 5}, std::pair{33, 17},
                                                          std::pair{64, 40})));

TEST(FilterModel, ReportsTheArraysErrorAndLeavesTheBitmap)
{
    const Bitmap before = noise(100, 50, PixelFormat::Bits24, 3);
    Bitmap bitmap = before;
    const auto error = effects_reference::Filter24(bitmap, 1000);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->requestedBytes, 15000u);
    EXPECT_TRUE(sameBytes(bitmap, before));
}

TEST(Gradient24, TwoRowsTakeStartThenEndAndBlackStays)
{
    Bitmap bitmap = filled(3, 2, PixelFormat::Bits24, rgb(9, 9, 9));
    bitmap.setPixel(1, 0, kBlack);
    ASSERT_TRUE(Gradient24(bitmap, rgb(10, 20, 30), rgb(200, 100, 0)));
    EXPECT_EQ(bitmap.pixel(0, 0), rgb(10, 20, 30));
    EXPECT_EQ(bitmap.pixel(1, 0), kBlack);
    EXPECT_EQ(bitmap.pixel(2, 1), rgb(200, 100, 0));
}

TEST(Gradient24, HalfwayRoundsToEven)
{
    // D = 2, red 0 -> 1: the middle row is 0.5, rounded to 0; green 0 -> 3 gives 1.5 -> 2.
    Bitmap bitmap = filled(1, 3, PixelFormat::Bits24, kWhite);
    ASSERT_TRUE(Gradient24(bitmap, rgb(0, 0, 0), rgb(1, 3, 0)));
    EXPECT_EQ(bitmap.pixel(0, 1), rgb(0, 2, 0));
    EXPECT_EQ(bitmap.pixel(0, 2), rgb(1, 3, 0));
}

TEST(Gradient, SingleRowDoesNotDivideByZero)
{
    Bitmap b24 = filled(4, 1, PixelFormat::Bits24, rgb(5, 5, 5));
    ASSERT_TRUE(Gradient24(b24, rgb(10, 20, 30), rgb(200, 100, 0)));
    EXPECT_EQ(b24.pixel(3, 0), rgb(10, 20, 30));

    Bitmap b32 = filled(4, 1, PixelFormat::Bits32, rgb(5, 5, 5));
    b32.canvas().font.color = kWhite;
    ASSERT_TRUE(Gradient32(b32));
    EXPECT_EQ(b32.pixel(3, 0), kBlack);
}

TEST(Gradient32, RampsOnlyTheNonZeroChannelsFromBlack)
{
    Bitmap bitmap = filled(2, 5, PixelFormat::Bits32, rgb(0, 255, 0));
    bitmap.setPixel(1, 2, kBlack);
    bitmap.scanLine(3)[3] = 0x77; // reserved byte
    bitmap.canvas().font.color = kWhite;
    ASSERT_TRUE(Gradient32(bitmap));
    const int expected[] = {0, 64, 128, 191, 255}; // 255 * r / 4: 63.75, 127.5 (even: 128), 191.25
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(bitmap.pixel(0, r), rgb(0, static_cast<std::uint8_t>(expected[r]), 0)) << r;
    EXPECT_EQ(bitmap.pixel(1, 2), kBlack);
    EXPECT_EQ(bitmap.scanLine(3)[3], 0);
}

} // namespace
} // namespace lumavo
