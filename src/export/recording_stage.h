#pragma once

#include "platform/bitmap.h"
#include "platform/clock.h"
#include "playback/page_player.h"
#include "playback/stage_surface.h"

#include <cstdint>
#include <functional>

namespace lumavo {

// A stage that is never shown: the page player draws into its back buffer and its presents only
// gather the region that changed. Nothing waits for a display (the frame period is zero); a
// space-bar wait of a manual page holds for a set time on the clock and then releases itself.
class RecordingStage final : public StageSurface {
public:
    RecordingStage(Point size, Clock& clock, PlaybackFlags& flags, Clock::Nanoseconds hold);

    Bitmap& backBuffer() override { return back_; }
    void present(const Rect& region) override;
    Clock::Nanoseconds framePeriod() const override { return Clock::Nanoseconds{0}; }
    Point screenSize() const override { return {back_.width(), back_.height()}; }
    int screenDepth() const override { return 32; }
    ComposeFormats composeFormats() const override { return {PixelFormat::Bits32, PixelFormat::Bits32}; }
    void pumpMessages() override {}
    void waitForMessages() override;
    void showForPlayback() override {}
    void enableStage() override { enabled_ = true; }
    void closeStage() override { enabled_ = false; }
    bool isEnabledStage() const override { return enabled_; }

    // The region presented since the last call (empty when nothing changed), and forgets it.
    Rect takeChanged();

private:
    Bitmap back_;
    Clock& clock_;
    PlaybackFlags& flags_;
    Clock::Nanoseconds hold_;
    Rect changed_;
    bool enabled_ = false;
};

// The time of frame k at a rate of num/den frames per second, in whole nanoseconds rounded up (so
// a draw at exactly that time is in the frame).
Clock::Nanoseconds frameTime(std::int64_t k, int num, int den);

// A clock that never waits in wall time: a sleep from t0 to t1 hands every frame time in
// [t0, t1) to the sink, with the stage as it stands, before time moves on to t1.
class VirtualClock final : public Clock {
public:
    using FrameSink = std::function<void(std::int64_t frameIndex, Nanoseconds at)>;
    VirtualClock(int rateNum, int rateDen, FrameSink sink);

    Nanoseconds now() const override { return now_; }
    void sleepUntil(Nanoseconds deadline) override;
    // The number of frames handed on so far.
    std::int64_t framesDone() const { return next_; }

private:
    int num_;
    int den_;
    FrameSink sink_;
    Nanoseconds now_{0};
    std::int64_t next_ = 0;
};

} // namespace lumavo
