#include "playback/frame_pacer.h"

#include "playback/stage_surface.h"

#include <algorithm>

namespace lumavo {

namespace {

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

void FramePacer::afterStep(Nanoseconds deadline, Nanoseconds timelineEnd)
{
    if (dirty_.isEmpty())
        return;
    const Nanoseconds frame = stage_.framePeriod();
    const Nanoseconds now = clock_.now();
    const Nanoseconds nextAllowed = presentedOnce_ ? lastPresent_ + frame : now;
    if (deadline - now >= frame) {
        // A long wait follows: show the step first, within the wait.
        clock_.sleepUntil(std::min(std::max(now, nextAllowed), deadline));
        if (clock_.now() >= nextAllowed)
            presentNow();
        return;
    }
    if (now >= nextAllowed && timelineEnd - now >= frame)
        presentNow();
}

void FramePacer::flush()
{
    if (dirty_.isEmpty())
        return;
    if (presentedOnce_)
        clock_.sleepUntil(lastPresent_ + stage_.framePeriod());
    presentNow();
}

void FramePacer::presentNow()
{
    stage_.present(dirty_);
    dirty_ = {};
    lastPresent_ = clock_.now();
    presentedOnce_ = true;
    ++presentCount_;
}

} // namespace lumavo
