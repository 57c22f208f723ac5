// The stage under a real display (run under Xvfb at 1920x1080): a code 5 motion of 301 steps at
// a movement delay of 1000 (1 ms a step) should take 301 ms, presenting no more than once per
// display frame. The reference presents every step as it is drawn, unpaced.
#include "platform/bitmap.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/silent_prompter.h"
#include "storage/ui/app_context.h"
#include "playback/frame_pacer.h"
#include "playback/motion_runner.h"
#include "playback/title_motion.h"
#include "playback/ui/stage.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

using namespace lumavo;

// The real stage, noting when each present happens.
class TimedStage final : public TCan {
public:
    TimedStage(AppContext& context, Clock& clock) : TCan(context), clock_(clock) {}
    void present(const Rect& region) override
    {
        TCan::present(region);
        times.push_back(clock_.now());
    }
    std::vector<Clock::Nanoseconds> times;

private:
    Clock& clock_;
};

struct Rig {
    Workspace ws;
    SilentPrompter prompter;
    SteadyClock clock;
    AppContext context{ws, prompter, clock, nullptr};
    TimedStage stage{context, clock};
    Bitmap title{800, 120, PixelFormat::Bits32};

    Rig()
    {
        title.canvas().brush.color = rgb(255, 200, 0);
        title.canvas().fillRect({1, 1, 799, 119});
        stage.enableStage();
        stage.showForPlayback();
        QCoreApplication::processEvents();
    }
    Motion motion() const
    {
        MotionInput in;
        in.code = 5;
        in.width = 800;
        in.height = 120;
        in.rest = {-500, 480};   // 301 steps: from x = -800 to x = -500, the right part showing
        in.screen = stage.screenSize();
        in.delay = 1000;
        return titleMotionIn(in);
    }
};

void BM_StageMotionPaced(benchmark::State& state)
{
    Rig rig;
    const Motion motion = rig.motion();
    double worstMs = 0, minGapMs = 1e9, totalMs = 0;
    int runs = 0;
    for (auto _ : state) {
        FramePacer pacer(rig.stage, rig.clock);
        rig.stage.times.clear();
        const auto start = rig.clock.now();
        runMotion(motion, rig.title, rig.stage.backBuffer().canvas(), pacer, rig.clock, FadeForm::Bits32);
        const double ms = std::chrono::duration<double, std::milli>(rig.clock.now() - start).count();
        worstMs = std::max(worstMs, ms);
        totalMs += ms;
        ++runs;
        for (std::size_t i = 1; i < rig.stage.times.size(); ++i)
            minGapMs = std::min(minGapMs,
                                std::chrono::duration<double, std::milli>(rig.stage.times[i] - rig.stage.times[i - 1]).count());
        state.counters["presents"] = static_cast<double>(rig.stage.times.size());
    }
    state.counters["steps"] = static_cast<double>(motion.steps.size());
    state.counters["mean_ms"] = totalMs / runs;
    state.counters["worst_ms"] = worstMs;
    state.counters["min_present_gap_ms"] = minGapMs;
    state.counters["frame_ms"] = std::chrono::duration<double, std::milli>(rig.stage.framePeriod()).count();
}
BENCHMARK(BM_StageMotionPaced)->Unit(benchmark::kMillisecond)->Iterations(10);

// Reference: every step drawn and presented at once, then the same 1 ms wait, unpaced.
void BM_StageMotionEveryStepPresented(benchmark::State& state)
{
    Rig rig;
    const Motion motion = rig.motion();
    double totalMs = 0;
    int runs = 0;
    for (auto _ : state) {
        Canvas& canvas = rig.stage.backBuffer().canvas();
        const auto start = rig.clock.now();
        auto deadline = start;
        for (const MotionStep& step : motion.steps) {
            canvas.draw(step.area.left, step.area.top, rig.title);
            rig.stage.present(step.area);
            deadline += Clock::Nanoseconds(step.waitNs);
            rig.clock.sleepUntil(deadline);
        }
        totalMs += std::chrono::duration<double, std::milli>(rig.clock.now() - start).count();
        ++runs;
    }
    state.counters["mean_ms"] = totalMs / runs;
}
BENCHMARK(BM_StageMotionEveryStepPresented)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
