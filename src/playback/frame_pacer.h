#pragma once

#include "platform/clock.h"
#include "platform/geometry.h"

#include <functional>

namespace lumavo {

class StageSurface;

// Presents the stage's back buffer on the display's frame grid: frame k is shown at
// t0 + k x framePeriod, where t0 is the first present of the pacer. Draws mark regions dirty; a
// present shows everything drawn so far. With a frame period of zero there is no grid: every
// present happens at once and the pacer never adds time.
class FramePacer {
public:
    using Nanoseconds = Clock::Nanoseconds;
    FramePacer(StageSurface& stage, Clock& clock);

    // A draw changed this region of the back buffer.
    void markDirty(const Rect& region);
    void markAllDirty();
    bool hasDirty() const { return !dirty_.isEmpty(); }

    Nanoseconds framePeriod() const;
    // The first frame time at or after t that no present has used yet (t itself before the first
    // present or without a grid).
    Nanoseconds frameTimeAtOrAfter(Nanoseconds t) const;
    // Sleeps until frame time `at` and presents what is pending there (nothing when nothing is).
    void presentAt(Nanoseconds at);
    // Presents pending drawing now, without waiting for a frame time.
    void flush();
    // Waits until `deadline`, presenting pending drawing at its frame time first. A wait longer
    // than a frame lets window messages run at least every 50 ms; it ends early when `stop`
    // (when given) turns true.
    void waitUntil(Nanoseconds deadline, const std::function<bool()>& stop = {});

    // Once `halted` turns true the pacer shows nothing more: pending drawing is dropped, presents
    // and waits return at once (a cut ends the page without another frame reaching the screen).
    void setHalt(std::function<bool()> halted) { halted_ = std::move(halted); }
    bool halted() const { return halted_ && halted_(); }
    // Drops pending drawing without showing it.
    void discard() { dirty_ = {}; }
    // Lets window messages run when a frame period or more has passed since they last ran, so keys
    // and clicks reach their handlers during a motion.
    void pumpIfDue();

    // The number of presents so far (for tests and benchmarks).
    int presentCount() const { return presentCount_; }

private:
    Nanoseconds gridTimeAtOrAfter(Nanoseconds t) const;
    // Presents pending drawing as the frame at or after time `at`.
    void presentForFrame(Nanoseconds at);

    StageSurface& stage_;
    Clock& clock_;
    Rect dirty_;
    Nanoseconds gridStart_{};     // frame 0 of the grid: the first present
    Nanoseconds lastFrame_{};     // the frame time of the last present
    Nanoseconds lastPump_{};      // when a wait last let messages run
    std::function<bool()> halted_;
    bool presentedOnce_ = false;
    int presentCount_ = 0;
};

} // namespace lumavo
