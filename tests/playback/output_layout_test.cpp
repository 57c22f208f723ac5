#include "playback/output_layout.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

const std::vector<ScreenEntry> kTwoScreens{{"DP-1", {0, 0, 1920, 1080}}, {"HDMI-1", {1920, 0, 3200, 720}}};

TEST(OutputLayout, StageScreenFollowsTheStoredNameOrTheEditor)
{
    EXPECT_EQ(pickStageScreen(kTwoScreens, "", 0).index, 0);
    EXPECT_EQ(pickStageScreen(kTwoScreens, "", 1).index, 1);
    const ScreenPick second = pickStageScreen(kTwoScreens, "HDMI-1", 0);
    EXPECT_EQ(second.index, 1);
    EXPECT_FALSE(second.missing);
}

TEST(OutputLayout, UnpluggedScreenFallsBackToTheEditorsScreenAndSaysSo)
{
    const ScreenPick pick = pickStageScreen(kTwoScreens, "VGA-1", 1);
    EXPECT_EQ(pick.index, 1);
    EXPECT_TRUE(pick.missing);
    EXPECT_EQ(pickStageScreen({}, "VGA-1", -1).index, -1);
    EXPECT_EQ(pickStageScreen(kTwoScreens, "", -1).index, 0);
    EXPECT_FALSE(findScreen(kTwoScreens, "").has_value());
    EXPECT_FALSE(findScreen(kTwoScreens, "VGA-1").has_value());
    EXPECT_EQ(findScreen(kTwoScreens, "HDMI-1"), 1);
}

TEST(OutputLayout, ScreensWithoutOrSharingANameGetKeysOfTheirOwn)
{
    // Two X screens both report "screen": each must stay choosable.
    EXPECT_EQ(screenKeys({"screen", "screen", "", "DP-1"}),
              (QStringList{"screen #1", "screen #2", "Screen 3", "DP-1"}));
}

TEST(OutputLayout, ScreenLabelGivesNameSizeAndPosition)
{
    EXPECT_EQ(screenLabel(kTwoScreens[1]), QStringLiteral("HDMI-1 (1280 x 720 at 1920, 0)"));
}

TEST(OutputLayout, WindowCanvasTextRoundTripsAndUnknownTextIsOff)
{
    for (WindowCanvas c : {WindowCanvas::Off, WindowCanvas::Hd720, WindowCanvas::Hd1080, WindowCanvas::ScreenSize})
        EXPECT_EQ(parseWindowCanvas(windowCanvasText(c)), c);
    EXPECT_EQ(parseWindowCanvas("640x480"), WindowCanvas::Off);
    EXPECT_EQ(windowCanvasSize(WindowCanvas::Hd720, {1, 1}).x, 1280);
    EXPECT_EQ(windowCanvasSize(WindowCanvas::ScreenSize, {1024, 768}).y, 768);
}

TEST(OutputLayout, AspectFitKeepsTheAspectAndCentres)
{
    const Rect pillar = aspectFit({1280, 720}, {640, 480});   // wider source: bars above and below
    EXPECT_EQ(pillar.left, 0);
    EXPECT_EQ(pillar.top, 60);
    EXPECT_EQ(pillar.width(), 640);
    EXPECT_EQ(pillar.height(), 360);
    const Rect letter = aspectFit({1280, 720}, {1000, 360});  // wider target: bars left and right
    EXPECT_EQ(letter.left, 180);
    EXPECT_EQ(letter.width(), 640);
    EXPECT_EQ(letter.height(), 360);
    const Rect same = aspectFit({1920, 1080}, {1280, 720});
    EXPECT_EQ(same.width(), 1280);
    EXPECT_EQ(same.height(), 720);
    EXPECT_EQ(aspectFit({0, 0}, {100, 100}).width(), 0);
}

TEST(OutputLayout, MatteOfASmoothStageIsItsAlpha)
{
    Bitmap stage(2, 1, PixelFormat::Bits32);
    stage.setAlpha(true);
    reinterpret_cast<std::uint32_t*>(stage.scanLine(0))[0] = 0x80101010u;
    reinterpret_cast<std::uint32_t*>(stage.scanLine(0))[1] = 0xFF000000u;   // opaque black shows
    Bitmap matte(2, 1, PixelFormat::Bits32);
    drawMatte(stage, matte, {0, 0, 2, 1});
    EXPECT_EQ(matte.pixel(0, 0), 0x00808080u);
    EXPECT_EQ(matte.pixel(1, 0), 0x00FFFFFFu);
}

TEST(OutputLayout, MatteIsWhiteExactlyWhereTheStageIsNotBlack)
{
    Bitmap stage(8, 4, PixelFormat::Bits32);
    stage.canvas().brush.color = kBlack;
    stage.canvas().fillRect({0, 0, 8, 4});
    stage.setPixel(1, 1, 0x00000001);    // the darkest red is still a picture
    stage.setPixel(2, 1, 0x00FFFFFF);
    stage.setPixel(7, 3, 0x00800000);
    Bitmap matte(8, 4, PixelFormat::Bits32);
    matte.canvas().brush.color = 0x00123456;
    matte.canvas().fillRect({0, 0, 8, 4});
    drawMatte(stage, matte, {0, 0, 8, 3});   // the last row lies outside the region
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(matte.pixel(x, y), stage.pixel(x, y) != kBlack ? 0x00FFFFFFu : 0u) << x << "," << y;
    EXPECT_EQ(matte.pixel(7, 3), 0x00123456u);
    drawMatte(stage, matte, {-5, -5, 100, 100});   // a region past the edges is clipped
    EXPECT_EQ(matte.pixel(7, 3), 0x00FFFFFFu);
}

} // namespace
} // namespace lumavo
