#include "playback/delay_durations.h"

#include "playback/title_motion.h"

#include <algorithm>

namespace lumavo {

namespace {

constexpr int kSlideFromTheRight = 6;
constexpr int kFadeInCode = 12;

Clock::Nanoseconds wholeFrames(std::int64_t ns, Clock::Nanoseconds framePeriod)
{
    const std::int64_t period = framePeriod.count();
    if (period <= 0 || ns <= 0)
        return Clock::Nanoseconds(std::max<std::int64_t>(ns, 0));
    return Clock::Nanoseconds((ns + period - 1) / period * period);
}

} // namespace

DelayDurations delayDurations(int movementDelay, int fadeDelay, int screenWidth, Clock::Nanoseconds framePeriod)
{
    // A one-pixel title that enters at the right edge and rests at the left one crosses the width.
    MotionInput slide;
    slide.code = kSlideFromTheRight;
    slide.width = 1;
    slide.height = 1;
    slide.screen = {std::max(screenWidth, 0), 1};
    slide.delay = movementDelay;
    MotionInput fade = slide;
    fade.code = kFadeInCode;
    fade.fadeDelay = fadeDelay;
    return {wholeFrames(titleMotionIn(slide).totalWaitNs(), framePeriod),
            wholeFrames(titleMotionIn(fade).totalWaitNs(), framePeriod)};
}

QString durationText(Clock::Nanoseconds duration)
{
    const std::int64_t ms = (duration.count() + 500'000) / 1'000'000;
    if (ms == 0)
        return QStringLiteral("0 s");
    if (ms < 1000)
        return QStringLiteral("%1 ms").arg(ms);
    if (ms < 60'000)
        return QStringLiteral("%1 s").arg(static_cast<double>(ms) / 1000.0, 0, 'f', 2);
    const std::int64_t seconds = (ms + 500) / 1000;
    return QStringLiteral("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
}

} // namespace lumavo
