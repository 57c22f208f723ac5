#include "playback/title_motion.h"

#include "platform/bitmap.h"
#include "platform/pixel_rows.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

MotionInput baseInput(int code)
{
    MotionInput in;
    in.code = code;
    in.width = 200;
    in.height = 50;
    in.rest = {100, 300};
    in.screen = {1024, 768};
    in.delay = 10;
    return in;
}

Point topLeft(const MotionStep& s) { return {s.area.left, s.area.top}; }

TEST(TitleMotionIn, Code5RunsFromOffLeftToRestIn301Frames)
{
    const Motion m = titleMotionIn(baseInput(5));
    ASSERT_EQ(m.steps.size(), 301u);
    for (std::size_t i = 0; i < m.steps.size(); ++i) {
        EXPECT_EQ(m.steps[i].kind, MotionStep::Kind::Blit);
        EXPECT_EQ(topLeft(m.steps[i]), (Point{-200 + static_cast<int>(i), 300}));
        EXPECT_EQ(m.steps[i].waitNs, 10'000);
    }
}

struct LinearCase {
    int code;
    bool in;
    Point first;
    Point last;
    std::size_t count;
};

class LinearMotion : public testing::TestWithParam<LinearCase> {};

// L = 100, T = 300, w = 200, h = 50 on a 1024 x 768 screen.
INSTANTIATE_TEST_SUITE_P(
    Codes, LinearMotion,
    testing::Values(LinearCase{1, true, {-200, 0}, {100, 300}, 301},
                    LinearCase{2, true, {1024, 1224}, {100, 300}, 925},
                    LinearCase{3, true, {-200, 600}, {100, 300}, 301},
                    LinearCase{4, true, {1025, -625}, {100, 300}, 926},
                    LinearCase{5, true, {-200, 300}, {100, 300}, 301},
                    LinearCase{6, true, {1024, 300}, {100, 300}, 925},
                    LinearCase{7, true, {100, -50}, {100, 300}, 351},
                    LinearCase{8, true, {100, 768}, {100, 300}, 469},
                    LinearCase{1, false, {100, 300}, {1024, 1224}, 925},
                    LinearCase{2, false, {100, 300}, {-199, 1}, 300},
                    LinearCase{3, false, {100, 300}, {1024, -624}, 925},
                    LinearCase{4, false, {100, 300}, {-199, 599}, 300},
                    LinearCase{5, false, {100, 300}, {1023, 300}, 924},
                    LinearCase{6, false, {100, 300}, {-199, 300}, 300},
                    LinearCase{7, false, {100, 300}, {100, 767}, 468},
                    LinearCase{8, false, {100, 300}, {100, -49}, 350}));

TEST_P(LinearMotion, FirstLastAndCount)
{
    const LinearCase& c = GetParam();
    const Motion m = c.in ? titleMotionIn(baseInput(c.code)) : titleMotionOut(baseInput(c.code));
    ASSERT_EQ(m.steps.size(), c.count);
    EXPECT_EQ(topLeft(m.steps.front()), c.first);
    EXPECT_EQ(topLeft(m.steps.back()), c.last);
    // One pixel per step on each axis the code moves along: the black frame covers the trail.
    for (std::size_t i = 1; i < m.steps.size(); ++i) {
        EXPECT_LE(std::abs(m.steps[i].area.left - m.steps[i - 1].area.left), 1);
        EXPECT_LE(std::abs(m.steps[i].area.top - m.steps[i - 1].area.top), 1);
    }
}

TEST(TitleMotionIn, EasySlowdownWaitsOnlyNearTheRest)
{
    MotionInput in = baseInput(1);
    in.easySlowdown = true;
    const Motion m = titleMotionIn(in);
    const std::size_t n = m.steps.size();
    EXPECT_EQ(m.steps[n - 1].waitNs, 100 * 10'000);        // d = 0
    EXPECT_EQ(m.steps[n - 2].waitNs, 50 * 10'000);         // d = 1
    EXPECT_EQ(m.steps[n - 100].waitNs, 1 * 10'000);        // d = 99
    EXPECT_EQ(m.steps[n - 101].waitNs, 0);                 // d = 100
    EXPECT_EQ(m.steps.front().waitNs, 0);
    // Measured on Y for the vertical codes.
    in.code = 8;
    const Motion up = titleMotionIn(in);
    EXPECT_EQ(up.steps.back().waitNs, 100 * 10'000);
    EXPECT_EQ(up.steps[up.steps.size() - 4].waitNs, 25 * 10'000);
}

TEST(TitleMotionOut, NeverUsesEasySlowdown)
{
    MotionInput in = baseInput(5);
    in.easySlowdown = true;
    for (const MotionStep& s : titleMotionOut(in).steps)
        EXPECT_EQ(s.waitNs, 10'000);
}

TEST(TitleMotion, ZeroDelayWaitsNothing)
{
    for (int code = 1; code <= 13; ++code) {
        MotionInput in = baseInput(code);
        in.delay = 0;
        in.easySlowdown = true;
        EXPECT_EQ(titleMotionIn(in).totalWaitNs(), 0) << code;
        EXPECT_EQ(titleMotionOut(in).totalWaitNs(), 0) << code;
    }
}

TEST(TitleMotion, CodesOutsideOneToThirteenDrawNothing)
{
    for (int code : {0, 14, -1, 99}) {
        EXPECT_TRUE(titleMotionIn(baseInput(code)).steps.empty()) << code;
        EXPECT_TRUE(titleMotionOut(baseInput(code)).steps.empty()) << code;
    }
}

TEST(TitleMotion, CopyModes)
{
    MotionInput in = baseInput(5);
    in.osEffect = 5;
    EXPECT_EQ(titleMotionIn(in).copyMode, RasterOp::SrcInvert);
    for (int code : {0, 1, 8, 11, 12, 13, 14})
        EXPECT_EQ(titleMotionIn((in.code = code, in)).copyMode, RasterOp::SrcInvert) << code;
    for (int code : {9, 10})
        EXPECT_EQ(titleMotionIn((in.code = code, in)).copyMode, RasterOp::SrcCopy) << code;
    for (int code = 0; code <= 14; ++code)
        EXPECT_FALSE(titleMotionOut((in.code = code, in)).copyMode.has_value()) << code;
    in.code = 5;
    in.osEffect = 0;
    EXPECT_EQ(titleMotionIn(in).copyMode, RasterOp::SrcCopy);
    in.osEffect = 7;
    EXPECT_EQ(titleMotionIn(in).copyMode, RasterOp::SrcCopy);
}

TEST(TitleMotion, UnrollCodesGrowTwoPixelsInAndOneOut)
{
    MotionInput in = baseInput(9);
    const Motion m9 = titleMotionIn(in);
    ASSERT_EQ(m9.steps.size(), 100u);
    EXPECT_EQ(m9.steps.front().area, (Rect{100, 300, 100, 350}));   // zero width first
    EXPECT_EQ(m9.steps.back().area, (Rect{100, 300, 298, 350}));    // two narrower (even width)
    in.width = 201;
    EXPECT_EQ(titleMotionIn(in).steps.back().area, (Rect{100, 300, 300, 350})); // one narrower
    in.width = 200;
    in.code = 10;
    const Motion m10 = titleMotionIn(in);
    ASSERT_EQ(m10.steps.size(), 100u);
    EXPECT_EQ(m10.steps.front().area, (Rect{300, 300, 300, 350}));
    EXPECT_EQ(m10.steps.back().area, (Rect{102, 300, 300, 350}));
    const Motion out9 = titleMotionOut((in.code = 9, in));
    ASSERT_EQ(out9.steps.size(), 200u);
    EXPECT_EQ(out9.steps[1].area, (Rect{100, 300, 101, 350}));
    const Motion out10 = titleMotionOut((in.code = 10, in));
    ASSERT_EQ(out10.steps.size(), 200u);
    EXPECT_EQ(out10.steps.back().area, (Rect{101, 300, 300, 350}));
    for (const MotionStep& s : out10.steps)
        EXPECT_EQ(s.kind, MotionStep::Kind::Stretch);
}

class PathMotion : public testing::TestWithParam<std::tuple<int, std::size_t, std::size_t>> {};

INSTANTIATE_TEST_SUITE_P(Counts, PathMotion,
                         testing::Values(std::make_tuple(-1, 0u, 0u), std::make_tuple(0, 0u, 0u),
                                         std::make_tuple(1, 1u, 0u), std::make_tuple(5, 5u, 4u),
                                         std::make_tuple(999, 999u, 998u),
                                         // a damaged count is held to the stored points
                                         std::make_tuple(40000, 999u, 998u),
                                         std::make_tuple(-7, 0u, 0u)));

TEST_P(PathMotion, FollowsPointsWithinTheClampedCount)
{
    const auto [count, inSteps, outSteps] = GetParam();
    DrawnPath path;
    path.count = count;
    for (int i = 0; i < kPathSlots; ++i)
        path.points[static_cast<std::size_t>(i)] = {static_cast<std::uint16_t>(10 + i), static_cast<std::uint16_t>(20 + i)};
    MotionInput in = baseInput(11);
    in.path = &path;
    const Motion mi = titleMotionIn(in);
    const Motion mo = titleMotionOut(in);
    ASSERT_EQ(mi.steps.size(), inSteps);
    ASSERT_EQ(mo.steps.size(), outSteps);
    for (std::size_t i = 0; i < mi.steps.size(); ++i)
        EXPECT_EQ(topLeft(mi.steps[i]), (Point{10 + static_cast<int>(i), 20 + static_cast<int>(i)}));
}

TEST(TitleMotion, FadeLevelsAndWaits)
{
    MotionInput in = baseInput(12);
    in.fadeDelay = 300;
    const Motion fin = titleMotionIn(in);
    const Motion fout = titleMotionOut(in);
    ASSERT_EQ(fin.steps.size(), 33u);
    ASSERT_EQ(fout.steps.size(), 33u);
    for (int i = 0; i < 33; ++i) {
        EXPECT_EQ(fin.steps[static_cast<std::size_t>(i)].level, i);
        EXPECT_EQ(fout.steps[static_cast<std::size_t>(i)].level, 32 - i);
        EXPECT_EQ(fin.steps[static_cast<std::size_t>(i)].waitNs, 300 * 300 * 10);
        EXPECT_EQ(topLeft(fin.steps[static_cast<std::size_t>(i)]), (Point{100, 300}));
    }
    EXPECT_EQ(fadeFrameWaitNs(0), 0);
}

TEST(TitleMotion, AppearDrawsOnceAtRest)
{
    for (bool in : {true, false}) {
        const Motion m = in ? titleMotionIn(baseInput(13)) : titleMotionOut(baseInput(13));
        ASSERT_EQ(m.steps.size(), 1u);
        EXPECT_EQ(topLeft(m.steps[0]), (Point{100, 300}));
    }
}

Bitmap fadeSource(PixelFormat format)
{
    Bitmap b(3, 1, format);
    b.setPixel(0, 0, rgb(0x80, 0x40, 0xFF));
    b.setPixel(1, 0, kBlack);
    b.setPixel(2, 0, rgb(1, 0, 0));
    return b;
}

TEST(FadeFrames, LevelsScaleLitPixelsAndKeepTheFill)
{
    for (PixelFormat f : {PixelFormat::Bits24, PixelFormat::Bits32}) {
        Bitmap src = fadeSource(f);
        FadeFrames in(src, f == PixelFormat::Bits32 ? FadeForm::Bits32 : FadeForm::Bits24, true);
        EXPECT_TRUE(in.frame(32).samePixels(src));
        EXPECT_EQ(in.frame(16).pixel(0, 0), rgb(0x40, 0x20, 0x7F));
        EXPECT_EQ(in.frame(0).pixel(0, 0), kBlack);
        EXPECT_EQ(in.frame(16).pixel(2, 0), kBlack);

        src.canvas().brush.color = rgb(9, 9, 9);
        FadeFrames out(src, FadeForm::Bits24, false);
        EXPECT_EQ(out.frame(0).pixel(1, 0), rgb(9, 9, 9));   // black source keeps the fill
        EXPECT_EQ(out.frame(0).pixel(0, 0), kBlack);
    }
}

TEST(FadeFrames, ThirtyTwoBitFormClearsTheFourthByteOfLitPixels)
{
    Bitmap src(2, 1, PixelFormat::Bits32);
    src.scanLine(0)[0] = 200;
    src.scanLine(0)[3] = 0xAB;
    src.scanLine(0)[7] = 0xCD;   // black pixel: untouched, the work bitmap keeps its fill
    FadeFrames frames(src, FadeForm::Bits32, true);
    const Bitmap& f = frames.frame(32);
    EXPECT_EQ(f.scanLine(0)[0], 200);
    EXPECT_EQ(f.scanLine(0)[3], 0);
}

TEST(FadeFrames, SmoothTitleFadesColourAndAlphaTogether)
{
    Bitmap src(2, 1, PixelFormat::Bits32);
    src.setAlpha(true);
    auto* row = reinterpret_cast<std::uint32_t*>(src.scanLine(0));
    row[0] = 0xFF000000u;   // opaque black: fades like any other pixel
    row[1] = 0x80404040u;
    FadeFrames frames(src, FadeForm::Bits32, true);
    const auto* f = reinterpret_cast<const std::uint32_t*>(frames.frame(16).scanLine(0));
    EXPECT_EQ(f[0], 0x7F000000u);
    EXPECT_EQ(f[1], 0x40202020u);
    EXPECT_TRUE(frames.frame(16).hasAlpha());
}

TEST(FadeFrames, TwentyFourBitFormRaisesLowFormats)
{
    Bitmap src = fadeSource(PixelFormat::Bits16);
    FadeFrames frames(src, FadeForm::Bits24, true);
    EXPECT_EQ(src.pixelFormat(), PixelFormat::Bits24);
    EXPECT_EQ(frames.frame(32).pixelFormat(), PixelFormat::Bits24);
    EXPECT_TRUE(frames.frame(32).samePixels(src));
    EXPECT_EQ(fadeFormForDepth(24), FadeForm::Bits24);
    EXPECT_EQ(fadeFormForDepth(16), FadeForm::Bits24);
    EXPECT_EQ(fadeFormForDepth(32), FadeForm::Bits32);
}

TEST(StepWaits, Calibration)
{
    EXPECT_EQ(stepWaitNs(1000), 1'000'000);
    EXPECT_EQ(stepWaitNs(-5), 0);
    EXPECT_EQ(DMoverDelay(0, 7), 100 * 7'000);
    EXPECT_EQ(DMoverDelay(3, 7), 25 * 7'000);
    EXPECT_EQ(DMoverDelay(100, 7), 0);
    EXPECT_EQ(fadeFrameWaitNs(6000), 360'000'000);
}

} // namespace
} // namespace lumavo
