#pragma once

#include "platform/clock.h"

#include <QString>
#include <cstdint>

namespace lumavo {

// What the Delay Controls' numbers mean on a stage: how long a slide across the whole screen width
// takes at movement delay `movementDelay` (one pixel per step, Easy Slow down off), and how long a
// whole fade takes at fade delay `fadeDelay` (its 33 levels, each waiting F x F x 10 ns). Both come
// from the motion timeline the stage plays and are rounded up to whole frames of `framePeriod`,
// since the stage shows a motion's end at the first frame at or after it (a period of zero: no
// rounding).
struct DelayDurations {
    Clock::Nanoseconds slide{};
    Clock::Nanoseconds fade{};
};
DelayDurations delayDurations(int movementDelay, int fadeDelay, int screenWidth, Clock::Nanoseconds framePeriod);

// A duration as the controls show it: "0 s", "85 ms" below a second, "1.92 s" below a minute
// (two decimals), "1 min 12 s" beyond.
QString durationText(Clock::Nanoseconds duration);

} // namespace lumavo
