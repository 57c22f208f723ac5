#pragma once

#include "platform/clock.h"
#include "platform/geometry.h"

namespace lumavo {

class StageSurface;

// Paces presentation of the stage's back buffer to the display: draws mark regions dirty, and a
// present shows them no sooner than one frame period after the previous present. Long waits,
// pauses and message runs present first, so the screen never lags the timeline by much.
class FramePacer {
public:
    using Nanoseconds = Clock::Nanoseconds;
    FramePacer(StageSurface& stage, Clock& clock);

    // A draw changed this region of the back buffer.
    void markDirty(const Rect& region);
    void markAllDirty();
    bool hasDirty() const { return !dirty_.isEmpty(); }

    // Called after a timeline step is drawn, before sleeping to `deadline`; `timelineEnd` is when
    // the whole timeline ends. Presents when a frame has passed (or before a wait of a frame or
    // more), except within the timeline's last frame, whose picture the closing flush shows.
    void afterStep(Nanoseconds deadline, Nanoseconds timelineEnd);
    // Presents pending drawing now, or one frame after the previous present if that is later.
    void flush();

    // The number of presents so far (for tests and benchmarks).
    int presentCount() const { return presentCount_; }

private:
    void presentNow();

    StageSurface& stage_;
    Clock& clock_;
    Rect dirty_;
    Nanoseconds lastPresent_{};
    bool presentedOnce_ = false;
    int presentCount_ = 0;
};

} // namespace lumavo
