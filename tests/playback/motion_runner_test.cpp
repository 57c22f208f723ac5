#include "playback/motion_runner.h"

#include "platform/bitmap.h"
#include "playback/frame_pacer.h"
#include "test_stage.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

using namespace std::chrono_literals;

TEST(MotionRunner, Code5On1000MicrosecondStepsEndsOnTimeAtRest)
{
    FakeClock clock;
    test::TestStage stage(clock, {1024, 768});
    FramePacer pacer(stage, clock);
    Bitmap title(200, 40, PixelFormat::Bits32);
    title.canvas().brush.color = rgb(0, 200, 0);
    title.canvas().fillRect({1, 1, 199, 39});
    MotionInput in;
    in.code = 5;
    in.width = 200;
    in.height = 40;
    in.rest = {100, 300};
    in.screen = {1024, 768};
    in.delay = 1000;
    runMotion(titleMotionIn(in), title, stage.back.canvas(), pacer, clock, FadeForm::Bits32);
    EXPECT_GE(clock.now(), 301ms);
    EXPECT_LT(clock.now(), 301ms + stage.frame);
    EXPECT_GE(stage.minPresentGap(), stage.frame);
    // The screen never falls far behind: a present at least every two frames.
    for (std::size_t i = 1; i < stage.presents.size(); ++i)
        EXPECT_LE(stage.presents[i].at - stage.presents[i - 1].at, 2 * stage.frame);
    EXPECT_GE(stage.presents.size(), 17u);
    EXPECT_EQ(stage.presents.back().region.right, 300);   // the last frame, at rest, is shown
    EXPECT_EQ(stage.back.pixel(101, 301), rgb(0, 200, 0));
    EXPECT_EQ(stage.back.pixel(99, 301), kBlack);            // the frame covered the trail
}

TEST(MotionRunner, LongStepsPresentBeforeTheirWait)
{
    FakeClock clock;
    test::TestStage stage(clock, {320, 240});
    FramePacer pacer(stage, clock);
    Bitmap title(10, 10, PixelFormat::Bits32);
    MotionInput in;
    in.code = 7;
    in.width = 10;
    in.height = 10;
    in.rest = {5, 5};
    in.screen = {320, 240};
    in.delay = 50'000;   // 50 ms a step: every step is shown
    const Motion m = titleMotionIn(in);
    runMotion(m, title, stage.back.canvas(), pacer, clock, FadeForm::Bits32);
    // Every step is shown except the first, which lies wholly above the screen.
    EXPECT_EQ(stage.presents.size(), m.steps.size() - 1);
    EXPECT_EQ(clock.now(), std::chrono::nanoseconds(m.totalWaitNs()));
}

TEST(MotionRunner, FadeOutEndsBlackAndFadeInEndsAtTheTitle)
{
    FakeClock clock;
    test::TestStage stage(clock, {100, 100}, 24);
    FramePacer pacer(stage, clock);
    Bitmap title(10, 10, PixelFormat::Bits24);
    title.canvas().brush.color = rgb(250, 100, 20);
    title.canvas().fillRect({0, 0, 10, 10});
    title.canvas().brush.color = kBlack;
    MotionInput in;
    in.code = 12;
    in.width = 10;
    in.height = 10;
    in.rest = {20, 30};
    in.screen = {100, 100};
    in.fadeDelay = 100;
    runMotion(titleMotionIn(in), title, stage.back.canvas(), pacer, clock, FadeForm::Bits24);
    EXPECT_EQ(stage.back.pixel(25, 35), rgb(250, 100, 20));
    // 33 frames of 100 us: the rest frame waits for the first frame time after the 3.3 ms.
    EXPECT_EQ(clock.now(), stage.frame);
    runMotion(titleMotionOut(in), title, stage.back.canvas(), pacer, clock, FadeForm::Bits24);
    EXPECT_EQ(stage.back.pixel(25, 35), kBlack);
}

} // namespace
} // namespace lumavo
