#include "playback/delay_durations.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;

TEST(DelayDurations, FollowTheMotionTimelineAndTheFrameGrid)
{
    // 1921 one-pixel steps cross a 1920-pixel screen (both edges included), D microseconds each;
    // a fade is 33 levels of F x F x 10 ns.
    const DelayDurations d = delayDurations(1000, 6000, 1920, nanoseconds(0));
    EXPECT_EQ(d.slide, milliseconds(1921));
    EXPECT_EQ(d.fade, nanoseconds(33LL * 6000 * 6000 * 10));
    // Shorter than a frame still shows for one: the end appears at the next frame.
    const DelayDurations quick = delayDurations(1, 0, 1920, milliseconds(20));
    EXPECT_EQ(quick.slide, milliseconds(20));
    EXPECT_EQ(quick.fade, nanoseconds(0));
}

TEST(DelayDurations, TextReadsInMillisecondsSecondsOrMinutes)
{
    EXPECT_EQ(durationText(nanoseconds(0)), QStringLiteral("0 s"));
    EXPECT_EQ(durationText(milliseconds(85)), QStringLiteral("85 ms"));
    EXPECT_EQ(durationText(milliseconds(1921)), QStringLiteral("1.92 s"));
    EXPECT_EQ(durationText(milliseconds(72'400)), QStringLiteral("1 min 12 s"));
}

} // namespace
} // namespace lumavo
