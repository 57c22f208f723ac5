#include "playback/motion_runner.h"

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "playback/frame_pacer.h"

#include <memory>

namespace lumavo {

namespace {

// Draws the steps of one motion in order from a title converted once for the 32-bit stage.
class StepDrawer {
public:
    StepDrawer(const Motion& motion, Bitmap& title, Canvas& stage, FramePacer& pacer, FadeForm fadeForm)
        : stage_(stage), pacer_(pacer), source_(&title)
    {
        if (motion.isFade()) {
            fade_ = std::make_unique<FadeFrames>(title, fadeForm, motion.steps.front().level == 0);
        } else if (title.bitsPerPixel() != 32) {
            // The conversion keeps every colour exactly and is done once, not on every step.
            converted_ = title;
            converted_.setPixelFormat(PixelFormat::Bits32);
            source_ = &converted_;
        }
    }

    void draw(const MotionStep& step)
    {
        switch (step.kind) {
        case MotionStep::Kind::Blit:
            stage_.draw(step.area.left, step.area.top, *source_);
            break;
        case MotionStep::Kind::Stretch:
            stage_.stretchDraw(step.area, *source_);
            break;
        case MotionStep::Kind::Fade:
            stage_.draw(step.area.left, step.area.top, fade_->frame(step.level));
            break;
        }
        pacer_.markDirty(step.area);
    }

private:
    Canvas& stage_;
    FramePacer& pacer_;
    const Bitmap* source_;
    Bitmap converted_;
    std::unique_ptr<FadeFrames> fade_;
};

} // namespace

void runMotion(const Motion& motion, Bitmap& title, Canvas& stage, FramePacer& pacer, Clock& clock,
               FadeForm fadeForm)
{
    if (motion.copyMode)
        stage.copyMode = *motion.copyMode;
    if (motion.steps.empty())
        return;
    StepDrawer drawer(motion, title, stage, pacer, fadeForm);
    const Clock::Nanoseconds start = clock.now();
    const Clock::Nanoseconds end = start + Clock::Nanoseconds(motion.totalWaitNs());

    if (pacer.framePeriod().count() == 0) {
        // No frame grid: every step is shown as it is drawn, then its wait.
        Clock::Nanoseconds deadline = start;
        for (const MotionStep& step : motion.steps) {
            if (pacer.halted())
                return;
            drawer.draw(step);
            pacer.flush();
            deadline += Clock::Nanoseconds(step.waitNs);
            pacer.waitUntil(deadline);
        }
        return;
    }

    // `due` is when step i is drawn on the timeline; `frame` the next frame time to show.
    Clock::Nanoseconds due = start;
    Clock::Nanoseconds frame = pacer.frameTimeAtOrAfter(start);
    std::size_t i = 0;
    const std::size_t count = motion.steps.size();
    while (i < count) {
        if (pacer.halted())
            return;
        while (i < count && due <= frame) {
            drawer.draw(motion.steps[i]);
            due += Clock::Nanoseconds(motion.steps[i].waitNs);
            ++i;
        }
        if (i == count)
            break;
        if (pacer.hasDirty()) {
            pacer.presentAt(frame);   // frame < due <= end: within the timeline
            // Keys and clicks run between frames: a close or a cut ends the motion at once.
            pacer.pumpIfDue();
        } else {
            // Nothing changes before the next step: wait for it, responsive when that is long.
            pacer.waitUntil(due);
        }
        frame = pacer.frameTimeAtOrAfter(std::max(clock.now(), frame + Clock::Nanoseconds(1)));
    }
    if (pacer.halted())
        return;
    // Every step is drawn. Before the motion's end the rest frame shows at `frame` and the rest of
    // the timeline is waited out; otherwise it shows at the first frame time at or after the end.
    if (frame < end || !pacer.hasDirty()) {
        if (frame < end)
            pacer.presentAt(frame);
        pacer.waitUntil(end);
    } else {
        pacer.presentAt(frame);
    }
}

} // namespace lumavo
