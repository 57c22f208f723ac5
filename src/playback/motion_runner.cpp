#include "playback/motion_runner.h"

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "playback/frame_pacer.h"

#include <memory>

namespace lumavo {

void runMotion(const Motion& motion, Bitmap& title, Canvas& stage, FramePacer& pacer, Clock& clock,
               FadeForm fadeForm)
{
    if (motion.copyMode)
        stage.copyMode = *motion.copyMode;
    if (motion.steps.empty())
        return;
    std::unique_ptr<FadeFrames> fade;
    // The back buffer is 32-bit: a title in another format is converted once per motion rather
    // than on every step (the conversion keeps every colour exactly).
    Bitmap converted;
    const Bitmap* source = &title;
    if (motion.isFade()) {
        fade = std::make_unique<FadeFrames>(title, fadeForm, motion.steps.front().level == 0);
    } else if (title.bitsPerPixel() != 32) {
        converted = title;
        converted.setPixelFormat(PixelFormat::Bits32);
        source = &converted;
    }

    const Clock::Nanoseconds start = clock.now();
    const Clock::Nanoseconds end = start + Clock::Nanoseconds(motion.totalWaitNs());
    Clock::Nanoseconds deadline = start;
    for (const MotionStep& step : motion.steps) {
        switch (step.kind) {
        case MotionStep::Kind::Blit:
            stage.draw(step.area.left, step.area.top, *source);
            break;
        case MotionStep::Kind::Stretch:
            stage.stretchDraw(step.area, *source);
            break;
        case MotionStep::Kind::Fade:
            stage.draw(step.area.left, step.area.top, fade->frame(step.level));
            break;
        }
        pacer.markDirty(step.area);
        deadline += Clock::Nanoseconds(step.waitNs);
        pacer.afterStep(deadline, end);
        clock.sleepUntil(deadline);
    }
    pacer.flush();
}

} // namespace lumavo
