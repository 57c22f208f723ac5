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
    if (motion.isFade())
        fade = std::make_unique<FadeFrames>(title, fadeForm, motion.steps.front().level == 0);

    const Clock::Nanoseconds start = clock.now();
    const Clock::Nanoseconds end = start + Clock::Nanoseconds(motion.totalWaitNs());
    Clock::Nanoseconds deadline = start;
    for (const MotionStep& step : motion.steps) {
        switch (step.kind) {
        case MotionStep::Kind::Blit:
            stage.draw(step.area.left, step.area.top, title);
            break;
        case MotionStep::Kind::Stretch:
            stage.stretchDraw(step.area, title);
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
