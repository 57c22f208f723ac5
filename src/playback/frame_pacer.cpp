#include "playback/frame_pacer.h"

#include "playback/stage_surface.h"

#include <algorithm>
#include <chrono>

namespace lumavo {

namespace {

// The longest stretch a wait goes without letting window messages run.
constexpr Clock::Nanoseconds kMessageInterval = std::chrono::milliseconds(50);

Rect unite(const Rect& a, const Rect& b)
{
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

} // namespace

FramePacer::FramePacer(StageSurface& stage, Clock& clock) : stage_(stage), clock_(clock) {}

void FramePacer::markDirty(const Rect& region)
{
    const Point size = stage_.screenSize();
    const Rect clipped{std::max(region.left, 0), std::max(region.top, 0), std::min(region.right, size.x),
                       std::min(region.bottom, size.y)};
    if (!clipped.isEmpty())
        dirty_ = unite(dirty_, clipped);
}

void FramePacer::markAllDirty()
{
    const Point size = stage_.screenSize();
    markDirty({0, 0, size.x, size.y});
}

FramePacer::Nanoseconds FramePacer::framePeriod() const
{
    return std::max(stage_.framePeriod(), Nanoseconds(0));
}

FramePacer::Nanoseconds FramePacer::gridTimeAtOrAfter(Nanoseconds t) const
{
    const Nanoseconds period = framePeriod();
    if (t <= gridStart_)
        return gridStart_;
    return gridStart_ + ((t - gridStart_ + period - Nanoseconds(1)) / period) * period;
}

FramePacer::Nanoseconds FramePacer::frameTimeAtOrAfter(Nanoseconds t) const
{
    if (!presentedOnce_ || framePeriod().count() == 0)
        return t;
    // Each frame of the grid shows at most one present.
    return std::max(gridTimeAtOrAfter(t), lastFrame_ + framePeriod());
}

void FramePacer::presentAt(Nanoseconds at)
{
    if (halted()) {
        dirty_ = {};
        return;
    }
    clock_.sleepUntil(at);
    // The frame is the one asked for, however late the sleep woke.
    presentForFrame(at);
}

void FramePacer::flush() { presentForFrame(clock_.now()); }

void FramePacer::presentForFrame(Nanoseconds at)
{
    if (halted())
        dirty_ = {};
    if (dirty_.isEmpty())
        return;
    if (!presentedOnce_) {
        gridStart_ = at;
        presentedOnce_ = true;
    }
    stage_.present(dirty_);
    dirty_ = {};
    ++presentCount_;
    // A present between two frame times reaches the screen at the next one.
    lastFrame_ = framePeriod().count() == 0 ? at : gridTimeAtOrAfter(at);
}

void FramePacer::pumpIfDue()
{
    const Nanoseconds now = clock_.now();
    if (now - lastPump_ < std::max(framePeriod(), Nanoseconds(1)))
        return;
    lastPump_ = now;
    stage_.pumpMessages();
}

void FramePacer::waitUntil(Nanoseconds deadline, const std::function<bool()>& stop)
{
    if (hasDirty())
        presentAt(std::min(frameTimeAtOrAfter(clock_.now()), std::max(deadline, clock_.now())));
    const bool responsive = deadline - clock_.now() > framePeriod();
    while (clock_.now() < deadline) {
        if ((stop && stop()) || halted())
            return;
        if (!responsive) {
            clock_.sleepUntil(deadline);
            return;
        }
        const Nanoseconds pumpDue = std::max(lastPump_ + kMessageInterval, clock_.now());
        clock_.sleepUntil(std::min(deadline, pumpDue));
        if (clock_.now() >= pumpDue) {
            stage_.pumpMessages();
            lastPump_ = clock_.now();
        }
    }
}

} // namespace lumavo
