#include "export/recording_stage.h"

#include <algorithm>

namespace lumavo {

RecordingStage::RecordingStage(Point size, Clock& clock, PlaybackFlags& flags, Clock::Nanoseconds hold)
    : back_(size.x, size.y, PixelFormat::Bits32), clock_(clock), flags_(flags), hold_(hold)
{
    back_.canvas().brush.color = kBlack;
    back_.canvas().fillRect({0, 0, size.x, size.y});
}

void RecordingStage::present(const Rect& region)
{
    const Rect clipped{std::max(region.left, 0), std::max(region.top, 0), std::min(region.right, back_.width()),
                       std::min(region.bottom, back_.height())};
    if (clipped.isEmpty())
        return;
    if (changed_.isEmpty())
        changed_ = clipped;
    else
        changed_ = {std::min(changed_.left, clipped.left), std::min(changed_.top, clipped.top),
                    std::max(changed_.right, clipped.right), std::max(changed_.bottom, clipped.bottom)};
}

void RecordingStage::waitForMessages()
{
    // The page player waits here while the space-bar hold is set; the operator "presses" it after
    // the hold time. Any other wait (none today) just lets a little time pass, so it cannot hang.
    if (flags_.spaceBarPause) {
        clock_.sleepFor(hold_);
        flags_.spaceBarPause = false;
    } else {
        clock_.sleepFor(std::chrono::milliseconds(10));
    }
}

Rect RecordingStage::takeChanged()
{
    return std::exchange(changed_, Rect{});
}

Clock::Nanoseconds frameTime(std::int64_t k, int num, int den)
{
    // k * den * 1e9 / num, rounded up; k stays below 2^33 for any run shorter than a year at 60 fps,
    // so the product fits in 128 bits easily and in 64 bits for den <= 1001 up to ~10^6 frames.
    const __int128 n = static_cast<__int128>(k) * den * 1'000'000'000;
    return Clock::Nanoseconds{static_cast<std::int64_t>((n + num - 1) / num)};
}

VirtualClock::VirtualClock(int rateNum, int rateDen, FrameSink sink)
    : num_(rateNum), den_(rateDen), sink_(std::move(sink))
{
}

void VirtualClock::sleepUntil(Nanoseconds deadline)
{
    while (deadline > now_) {
        const Nanoseconds due = frameTime(next_, num_, den_);
        if (due >= deadline) {
            now_ = deadline;
            break;
        }
        now_ = std::max(now_, due);
        sink_(next_++, now_);
    }
}

} // namespace lumavo
