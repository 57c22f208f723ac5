// Draw-only title motion: an 800 x 120 title moving in (code 5, no delay) on a 1920 x 1080 stage,
// presented through a presenter that does nothing and has no frame period. The reference moves the same title with a
// plain per-pixel copy.
#include "bench_main.h"
#include "platform/bitmap.h"
#include "platform/clock.h"
#include "playback/frame_pacer.h"
#include "playback/motion_runner.h"
#include "playback/stage_surface.h"
#include "playback/title_motion.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

using namespace lumavo;

constexpr int kStageWidth = 1920;
constexpr int kStageHeight = 1080;
constexpr int kTitleWidth = 800;
constexpr int kTitleHeight = 120;

class NullStage final : public StageSurface {
public:
    NullStage() : back_(kStageWidth, kStageHeight, PixelFormat::Bits32) {}
    Bitmap& backBuffer() override { return back_; }
    void present(const Rect&) override { ++presents; }
    // No display: presents are never held back, so the figure is the drawing alone.
    Clock::Nanoseconds framePeriod() const override { return Clock::Nanoseconds(0); }
    Point screenSize() const override { return {kStageWidth, kStageHeight}; }
    int screenDepth() const override { return 32; }
    ComposeFormats composeFormats() const override { return {PixelFormat::Bits32, PixelFormat::Bits32}; }
    void pumpMessages() override {}
    void waitForMessages() override {}
    void showForPlayback() override {}
    void enableStage() override {}
    void closeStage() override {}
    bool isEnabledStage() const override { return true; }
    int presents = 0;

private:
    Bitmap back_;
};

Bitmap makeTitle(PixelFormat format)
{
    Bitmap title(kTitleWidth, kTitleHeight, format);
    for (int y = 1; y < kTitleHeight - 1; ++y)
        for (int x = 1; x < kTitleWidth - 1; ++x)
            title.setPixel(x, y, rgb(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 200));
    return title;
}

MotionInput codeFive()
{
    MotionInput in;
    in.code = 5;
    in.width = kTitleWidth;
    in.height = kTitleHeight;
    in.rest = {560, 480};
    in.screen = {kStageWidth, kStageHeight};
    return in;
}

void BM_MotionDrawOnly(benchmark::State& state)
{
    NullStage stage;
    SteadyClock clock;
    FramePacer pacer(stage, clock);
    Bitmap title = makeTitle(state.range(0) == 32 ? PixelFormat::Bits32 : PixelFormat::Bits24);
    const Motion motion = titleMotionIn(codeFive());
    std::int64_t steps = 0;
    for (auto _ : state) {
        runMotion(motion, title, stage.backBuffer().canvas(), pacer, clock, FadeForm::Bits32);
        steps += static_cast<std::int64_t>(motion.steps.size());
    }
    state.counters["steps_per_s"] = benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MotionDrawOnly)->Arg(32)->Arg(24)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reference: the same steps, each a per-pixel copy through the checked pixel accessors.
void BM_MotionPlainReference(benchmark::State& state)
{
    Bitmap stage(kStageWidth, kStageHeight, PixelFormat::Bits32);
    const Bitmap title = makeTitle(PixelFormat::Bits32);
    const Motion motion = titleMotionIn(codeFive());
    std::int64_t steps = 0;
    for (auto _ : state) {
        for (const MotionStep& step : motion.steps) {
            for (int y = 0; y < kTitleHeight; ++y)
                for (int x = 0; x < kTitleWidth; ++x)
                    stage.setPixel(step.area.left + x, step.area.top + y, title.pixel(x, y));
        }
        steps += static_cast<std::int64_t>(motion.steps.size());
        benchmark::DoNotOptimize(stage.scanLine(0));
    }
    state.counters["steps_per_s"] = benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MotionPlainReference)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return lumavo::bench::runWithGuiApplication(argc, argv);
}
