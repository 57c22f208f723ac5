// Speed of the title effects and of composing a title. Each effect runs next to its plain
// per-pixel model (effects_reference: bounds-checked byte arrays, one pixel at a time) in the
// same run; items are pixels, so items_per_second reads as pixels per second.

#include "bench_main.h"
#include "compose/effects.h"
#include "compose/effects_reference.h"
#include "compose/title_composer.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <random>

namespace {

using namespace lumavo;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A full-HD frame of varied colours: the filter's cost does not depend on content.
Bitmap noiseFrame(PixelFormat format)
{
    Bitmap bitmap(kWidth, kHeight, format);
    std::mt19937 rng(42);
    const int bytes = kWidth * (format == PixelFormat::Bits32 ? 4 : 3);
    for (int y = 0; y < kHeight; ++y)
        for (int i = 0; i < bytes; ++i)
            bitmap.scanLine(y)[i] = static_cast<std::uint8_t>(rng());
    return bitmap;
}

// A full-HD title: white text on black, as the gradient meets it on the stage.
Bitmap titleFrame(PixelFormat format)
{
    Bitmap bitmap(kWidth, kHeight, format);
    Canvas& canvas = bitmap.canvas();
    canvas.brush.color = kBlack;
    canvas.fillRect(Rect{0, 0, kWidth, kHeight});
    canvas.font.points = 150;
    canvas.font.color = kWhite;
    for (int line = 0; line < 4; ++line)
        canvas.textOut(40, 40 + line * 250, QStringLiteral("Hello World, title %1").arg(line + 1));
    return bitmap;
}

void setPixels(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

template <bool (*kFast)(Bitmap&), PixelFormat kFormat>
void filterFast(benchmark::State& state)
{
    const Bitmap source = noiseFrame(kFormat);
    Bitmap bitmap = source;
    for (auto _ : state) {
        kFast(bitmap);
        benchmark::DoNotOptimize(bitmap.scanLine(kHeight / 2));
    }
    setPixels(state);
}

template <PixelFormat kFormat>
void filterPlain(benchmark::State& state)
{
    Bitmap bitmap = noiseFrame(kFormat);
    for (auto _ : state) {
        const auto error = kFormat == PixelFormat::Bits32 ? effects_reference::Filter32(bitmap)
                                                          : effects_reference::Filter24(bitmap);
        benchmark::DoNotOptimize(error);
    }
    setPixels(state);
}

void BM_Filter24(benchmark::State& state) { filterFast<Filter24, PixelFormat::Bits24>(state); }
void BM_Filter24_PlainPerPixel(benchmark::State& state) { filterPlain<PixelFormat::Bits24>(state); }
void BM_Filter32(benchmark::State& state) { filterFast<Filter32, PixelFormat::Bits32>(state); }
void BM_Filter32_PlainPerPixel(benchmark::State& state) { filterPlain<PixelFormat::Bits32>(state); }

void BM_Gradient24_Title(benchmark::State& state)
{
    Bitmap bitmap = titleFrame(PixelFormat::Bits24);
    for (auto _ : state) {
        Gradient24(bitmap, 0x0000FF, 0xFF8000);
        benchmark::DoNotOptimize(bitmap.scanLine(kHeight / 2));
    }
    setPixels(state);
}

void BM_Gradient24_Title_PlainPerPixel(benchmark::State& state)
{
    Bitmap bitmap = titleFrame(PixelFormat::Bits24);
    for (auto _ : state) {
        effects_reference::Gradient24(bitmap, 0x0000FF, 0xFF8000);
        benchmark::DoNotOptimize(bitmap.scanLine(kHeight / 2));
    }
    setPixels(state);
}

void BM_Gradient32_Title(benchmark::State& state)
{
    Bitmap bitmap = titleFrame(PixelFormat::Bits32);
    bitmap.canvas().font.color = 0xFF8000;
    for (auto _ : state) {
        Gradient32(bitmap);
        benchmark::DoNotOptimize(bitmap.scanLine(kHeight / 2));
    }
    setPixels(state);
}

void BM_Gradient32_Title_PlainPerPixel(benchmark::State& state)
{
    Bitmap bitmap = titleFrame(PixelFormat::Bits32);
    bitmap.canvas().font.color = 0xFF8000;
    for (auto _ : state) {
        effects_reference::Gradient32(bitmap);
        benchmark::DoNotOptimize(bitmap.scanLine(kHeight / 2));
    }
    setPixels(state);
}

// "Hello World" with shadow, filter and gradient, composed for a 32-bit screen, at the size given.
TitleLine helloWorld(int points, bool effects)
{
    TitleLine line;
    line.text = QStringLiteral("Hello World");
    line.fontSize = points;
    line.fontColor = rgb(255, 255, 0);
    line.shadowOn = true;
    line.shadowColor = rgb(128, 128, 128);
    line.archOn = effects;
    line.gradOn = effects;
    line.gradColor = rgb(0, 0, 255);
    return line;
}

constexpr ComposeFormats kFormats{PixelFormat::Bits32, PixelFormat::Bits32};

void BM_ComposeTitle(benchmark::State& state)
{
    const TitleLine line = helloWorld(static_cast<int>(state.range(0)), true);
    for (auto _ : state) {
        TitleLine copy = line;
        ComposedTitle title = composeTitle(copy, 2, Point{10, 10}, kFormats, false, QString(), Point{1920, 1080});
        benchmark::DoNotOptimize(title.bitmap.scanLine(0));
    }
    state.SetItemsProcessed(state.iterations());
}

// The same title with the effects run by the plain per-pixel model.
void BM_ComposeTitle_PlainEffects(benchmark::State& state)
{
    const TitleLine line = helloWorld(static_cast<int>(state.range(0)), false);
    for (auto _ : state) {
        TitleLine copy = line;
        ComposedTitle title = composeTitle(copy, 2, Point{10, 10}, kFormats, false, QString(), Point{1920, 1080});
        effects_reference::Filter32(title.bitmap);
        title.bitmap.canvas().font.color = line.fontColor;
        effects_reference::Gradient32(title.bitmap);
        benchmark::DoNotOptimize(title.bitmap.scanLine(0));
    }
    state.SetItemsProcessed(state.iterations());
}

// The same title composed smooth: antialiased with alpha, the effects on its straight colour.
void BM_ComposeTitle_Smooth(benchmark::State& state)
{
    const TitleLine line = helloWorld(static_cast<int>(state.range(0)), true);
    const ComposeFormats smooth{PixelFormat::Bits32, PixelFormat::Bits32, true};
    for (auto _ : state) {
        TitleLine copy = line;
        ComposedTitle title = composeTitle(copy, 2, Point{10, 10}, smooth, false, QString(), Point{1920, 1080});
        benchmark::DoNotOptimize(title.bitmap.scanLine(0));
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_Filter24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filter24_PlainPerPixel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filter32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filter32_PlainPerPixel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gradient24_Title)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gradient24_Title_PlainPerPixel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gradient32_Title)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gradient32_Title_PlainPerPixel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeTitle)->Arg(60)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeTitle_PlainEffects)->Arg(60)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeTitle_Smooth)->Arg(60)->Arg(200)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return lumavo::bench::runWithGuiApplication(argc, argv);
}
