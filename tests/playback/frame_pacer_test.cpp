#include "playback/frame_pacer.h"

#include "platform/bitmap.h"
#include "playback/motion_runner.h"
#include "test_stage.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

using namespace std::chrono_literals;

// Code 5 of a 40 pixel wide title to rest at x = 100: 141 steps, X = -40 .. 100, one every D us.
MotionInput codeFive(int delay)
{
    MotionInput in;
    in.code = 5;
    in.width = 40;
    in.height = 20;
    in.rest = {100, 50};
    in.screen = {320, 240};
    in.delay = delay;
    return in;
}

Bitmap solidTitle()
{
    Bitmap title(40, 20, PixelFormat::Bits32);
    title.canvas().brush.color = rgb(0, 200, 0);
    title.canvas().fillRect({0, 0, 40, 20});
    return title;
}

// A pacer on a 320 x 240 test stage at 60 Hz, moving the solid title with code 5.
template <typename ClockType = FakeClock>
struct PacerRig {
    ClockType clock;
    test::TestStage stage{clock, {320, 240}};
    FramePacer pacer{stage, clock};
    Bitmap title = solidTitle();

    Motion run(int delay)
    {
        const Motion motion = titleMotionIn(codeFive(delay));
        runMotion(motion, title, stage.back.canvas(), pacer, clock, FadeForm::Bits32);
        return motion;
    }
};

// Each frame time shows the motion as it stands then: frame k at k x period shows the last step
// due at or before it, and the rest frame comes at the first frame time after the motion's end.
TEST(FramePacer, PresentsOnTheFrameGridTheStepsDueByEachFrameTime)
{
    PacerRig<> r;
    ASSERT_EQ(r.run(1500).steps.size(), 141u);
    const auto& stage = r.stage;

    // Step 0 lies off the left edge, so the grid starts with step 1 at 1.5 ms. The motion ends at
    // 141 x 1.5 ms = 211.5 ms: frames at 1.5 ms + k P up to k = 12 (201.5 ms), then the rest
    // frame at 1.5 ms + 13 P = 218.2 ms.
    ASSERT_EQ(stage.presents.size(), 14u);
    for (std::size_t k = 0; k < stage.presents.size(); ++k) {
        const Clock::Nanoseconds at = 1500us + static_cast<std::int64_t>(k) * stage.frame;
        EXPECT_EQ(stage.presents[k].at, at) << "frame " << k;
        const auto lastDue = std::min<std::int64_t>(at / 1500us, 140);
        // Step i puts the title's right edge at x = i.
        EXPECT_EQ(stage.presents[k].region.right, lastDue) << "frame " << k;
    }
    EXPECT_EQ(r.clock.now(), 1500us + 13 * stage.frame);
    EXPECT_EQ(stage.presents.back().region.right, 140);
}

TEST(FramePacer, ANextMotionContinuesTheGridAndUsesEachFrameOnce)
{
    PacerRig<> r;
    r.run(1500);
    r.clock.advance(5ms);   // a compose step between two titles
    r.run(1500);
    const auto& stage = r.stage;
    for (std::size_t k = 1; k < stage.presents.size(); ++k) {
        EXPECT_EQ((stage.presents[k].at - stage.presents[0].at) % stage.frame, 0ns) << "present " << k;
        EXPECT_GT(stage.presents[k].at, stage.presents[k - 1].at) << "present " << k;
    }
}

// A clock whose sleeps wake 300 us late, as a real one does.
class LateClock final : public Clock {
public:
    Nanoseconds now() const override { return now_; }
    void sleepUntil(Nanoseconds deadline) override
    {
        if (deadline > now_)
            now_ = deadline + std::chrono::microseconds(300);
    }

private:
    Nanoseconds now_{0};
};

// Regression: a present that woke a little after its frame time counted as the next frame, so
// every other frame was skipped (30 Hz on a 60 Hz display).
TEST(FramePacer, ALateWakeUpDoesNotSkipTheNextFrame)
{
    PacerRig<LateClock> r;
    r.run(1500);
    const auto& stage = r.stage;
    ASSERT_GE(stage.presents.size(), 13u);
    for (std::size_t k = 1; k + 1 < stage.presents.size(); ++k)
        EXPECT_LT(stage.presents[k].at - stage.presents[k - 1].at, stage.frame + 1ms) << "present " << k;
}

// A recording stage has no frame grid: every step is presented as drawn, the clock ends exactly
// at the motion's end (no rest-frame wait), and nothing loops.
TEST(FramePacer, ZeroFramePeriodPresentsEveryStepAndAddsNoTime)
{
    PacerRig<> r;
    r.stage.frame = 0ns;
    const Motion motion = r.run(1500);
    const auto& stage = r.stage;
    EXPECT_EQ(stage.presents.size(), motion.steps.size() - 1);   // step 0 lies off the left edge
    EXPECT_EQ(r.clock.now(), Clock::Nanoseconds(motion.totalWaitNs()));
    EXPECT_EQ(stage.presents.back().at, Clock::Nanoseconds(motion.totalWaitNs() - 1'500'000));
}

TEST(FramePacer, NeverWaitsLongerThanTheTimelineButForTheRestFrame)
{
    for (const int delay : {0, 100, 1500, 5500, 6000}) {
        PacerRig<> r;
        const Clock::Nanoseconds end(r.run(delay).totalWaitNs());
        EXPECT_GE(r.clock.now(), end) << "D = " << delay;
        EXPECT_LT(r.clock.now(), end + r.stage.frame) << "D = " << delay;
        EXPECT_EQ(r.stage.presents.back().region.right, 140) << "D = " << delay;   // at rest
    }
}

// Regression: a slow motion step let no messages run, so Esc and clicks waited for its end.
TEST(FramePacer, LongStepsLetMessagesRunWithinAHundredMilliseconds)
{
    FakeClock clock;
    test::TestStage stage(clock, {320, 240});
    FramePacer pacer(stage, clock);
    std::vector<Clock::Nanoseconds> pumps;
    stage.onPump = [&] { pumps.push_back(clock.now()); };
    Bitmap title(10, 10, PixelFormat::Bits32);
    MotionInput in;
    in.code = 1;
    in.width = 10;
    in.height = 10;
    in.rest = {5, 5};
    in.screen = {320, 240};
    in.delay = 6000;
    in.easySlowdown = true;   // the last step waits 100 x 6 ms = 600 ms
    runMotion(titleMotionIn(in), title, stage.back.canvas(), pacer, clock, FadeForm::Bits32);
    ASSERT_GE(pumps.size(), 10u);
    for (std::size_t i = 1; i < pumps.size(); ++i)
        EXPECT_LE(pumps[i] - pumps[i - 1], 50ms + stage.frame);
    EXPECT_LE(clock.now() - pumps.back(), 50ms + stage.frame);
}

TEST(FramePacer, AWaitEndsEarlyWhenAskedAndShowsPendingDrawingFirst)
{
    FakeClock clock;
    test::TestStage stage(clock, {320, 240});
    FramePacer pacer(stage, clock);
    pacer.markAllDirty();
    bool stop = false;
    stage.onPump = [&] { stop = clock.now() >= 1s; };
    pacer.waitUntil(10s, [&] { return stop; });
    ASSERT_EQ(stage.presents.size(), 1u);
    EXPECT_EQ(stage.presents[0].at, 0ns);
    EXPECT_GE(clock.now(), 1s);
    EXPECT_LE(clock.now(), 1s + 50ms);
}

} // namespace
} // namespace lumavo
