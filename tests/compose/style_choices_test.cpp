#include "compose/style_choices.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

struct SliderCase {
    int position;
    RgbValues end;
    RgbValues start;
};

class GradientSlider : public testing::TestWithParam<SliderCase> {};

TEST_P(GradientSlider, GivesTheColourPairOfItsPosition)
{
    const SliderCase c = GetParam();
    const SliderColorPair pair = sliderColorPair(c.position);
    EXPECT_EQ(pair.end, c.end);
    EXPECT_EQ(pair.start, c.start);
}

INSTANTIATE_TEST_SUITE_P(Positions, GradientSlider,
                         testing::Values(SliderCase{0, {0, 255, 0}, {0, 0, 255}},
                                         SliderCase{100, {100, 155, 0}, {0, 100, 155}},
                                         SliderCase{255, {255, 0, 0}, {0, 255, 0}},
                                         SliderCase{256, {254, 1, 0}, {1, 0, 254}},
                                         SliderCase{509, {1, 254, 0}, {254, 0, 1}},
                                         SliderCase{510, {0, 255, 0}, {255, 0, 0}},
                                         SliderCase{765, {0, 0, 255}, {0, 255, 0}}));

TEST(ColourEdits, ReadLikeTheMaskedEdits)
{
    EXPECT_EQ(readEditNumber(QStringLiteral("  42")), 42);
    EXPECT_EQ(readEditNumber(QStringLiteral("30 0")), 30);
    EXPECT_EQ(readEditNumber(QStringLiteral("   ")), 0);
    EXPECT_EQ(readEditNumber(QString()), 0);
    EXPECT_EQ(readEditNumber(QStringLiteral("x12")), 0);
    EXPECT_EQ(readEditNumber(QStringLiteral("99999999999999")), 1'000'000'000);
    EXPECT_EQ(firstAbove255({255, 256, 999}), 1);
    EXPECT_EQ(firstAbove255({0, 255, 255}), -1);
    EXPECT_EQ(colorFromRgbValues({1, 2, 3}), 0x02030201u);
    EXPECT_EQ(rgbValuesOf(0x02030201u), (RgbValues{1, 2, 3}));
}

TEST(FontChooser, FaceListIsSortedWithoutRegardToCaseWithDefault)
{
    EXPECT_EQ(chooserFaceList({"zeta", "Arial", "beta", "Arial", "Courier"}),
              (QStringList{"Arial", "beta", "Courier", "Default", "zeta"}));
    EXPECT_EQ(faceForOk(QString(), QStringLiteral("Arial")), QStringLiteral("Arial"));
    EXPECT_EQ(faceForOk(QStringLiteral("Courier"), QStringLiteral("Arial")), QStringLiteral("Courier"));
}

} // namespace
} // namespace lumavo
