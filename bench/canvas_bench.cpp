// Drawing speed of Bitmap and Canvas, each next to a plain per-pixel version of the same work
// (pixel()/setPixel() per pixel) measured in the same run. items_per_second is pixels per second.

#include "platform/bitmap.h"
#include "raster_op_reference.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>

using namespace lumavo;

namespace {

constexpr int kStageW = 1920, kStageH = 1080;
constexpr int kTitleW = 800, kTitleH = 120;

const RasterOp kOps[] = {RasterOp::SrcCopy,  RasterOp::NotSrcCopy, RasterOp::NotSrcErase, RasterOp::PatPaint,
                         RasterOp::SrcErase, RasterOp::SrcInvert,  RasterOp::SrcPaint,    RasterOp::Blackness};
const char* const kOpNames[] = {"SRCCOPY",  "NOTSRCCOPY", "NOTSRCERASE", "PATPAINT",
                                "SRCERASE", "SRCINVERT",  "SRCPAINT",    "BLACKNESS"};

Bitmap makePicture(int w, int h, PixelFormat f)
{
    Bitmap bm(w, h, f);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bm.setPixel(x, y, rgb(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y * 3),
                                  static_cast<std::uint8_t>(x ^ y)));
    return bm;
}

using test::rasterOpColor;

// The title drawn onto a 1080p stage (with alpha when the title has it) with the operation of
// the benchmark's argument, a few pixels further each time.
void drawTitles(benchmark::State& state, const Bitmap& title)
{
    const RasterOp op = kOps[state.range(0)];
    state.SetLabel(kOpNames[state.range(0)]);
    Bitmap stage(kStageW, kStageH, PixelFormat::Bits32);
    stage.setAlpha(title.hasAlpha());
    stage.canvas().copyMode = op;
    stage.canvas().brush.color = rgb(1, 2, 3);
    int step = 0;
    for (auto _ : state) {
        stage.canvas().draw(100 + (step & 7), 500 + (step & 3), title);
        ++step;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kTitleW * kTitleH);
}

void BM_Draw32(benchmark::State& state) { drawTitles(state, makePicture(kTitleW, kTitleH, PixelFormat::Bits32)); }
BENCHMARK(BM_Draw32)->DenseRange(0, 7);

void BM_Draw32Reference(benchmark::State& state)
{
    const RasterOp op = kOps[state.range(0)];
    state.SetLabel(kOpNames[state.range(0)]);
    const Bitmap title = makePicture(kTitleW, kTitleH, PixelFormat::Bits32);
    Bitmap stage(kStageW, kStageH, PixelFormat::Bits32);
    const Color brush = rgb(1, 2, 3);
    int step = 0;
    for (auto _ : state) {
        const int ox = 100 + (step & 7), oy = 500 + (step & 3);
        for (int y = 0; y < kTitleH; ++y)
            for (int x = 0; x < kTitleW; ++x)
                stage.setPixel(ox + x, oy + y, rasterOpColor(op, title.pixel(x, y), stage.pixel(ox + x, oy + y), brush));
        ++step;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kTitleW * kTitleH);
}
BENCHMARK(BM_Draw32Reference)->DenseRange(0, 7);

// A smooth title (premultiplied alpha) onto a smooth stage: colour and alpha together.
Bitmap smoothPicture()
{
    Bitmap bm = makePicture(kTitleW, kTitleH, PixelFormat::Bits32);
    bm.setAlpha(true);
    for (int y = 0; y < kTitleH; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(bm.scanLine(y));
        for (int x = 0; x < kTitleW; ++x) {
            const std::uint32_t a = static_cast<std::uint32_t>(x * 7 + y) & 0xFF;
            const std::uint32_t c = ((row[x] & 0xFF) * a / 255) * 0x010101u;
            row[x] = c | (a << 24);
        }
    }
    return bm;
}

void BM_Draw32Smooth(benchmark::State& state) { drawTitles(state, smoothPicture()); }
BENCHMARK(BM_Draw32Smooth)->Arg(0)->Arg(5)->Arg(6);

// The plain loop: one pixel at a time through the bounds-checked accessors, alpha by the same rule.
void BM_Draw32SmoothReference(benchmark::State& state)
{
    const RasterOp op = kOps[state.range(0)];
    state.SetLabel(kOpNames[state.range(0)]);
    const Bitmap title = smoothPicture();
    Bitmap stage(kStageW, kStageH, PixelFormat::Bits32);
    const Color brush = rgb(1, 2, 3);
    int step = 0;
    for (auto _ : state) {
        const int ox = 100 + (step & 7), oy = 500 + (step & 3);
        for (int y = 0; y < kTitleH; ++y) {
            const auto* s = reinterpret_cast<const std::uint32_t*>(title.scanLine(y));
            auto* d = reinterpret_cast<std::uint32_t*>(stage.scanLine(oy + y)) + ox;
            for (int x = 0; x < kTitleW; ++x) {
                const Color c = op == RasterOp::SrcCopy ? title.pixel(x, y)
                                                        : rasterOpColor(op, title.pixel(x, y), stage.pixel(ox + x, oy + y), brush);
                const std::uint32_t alpha = op == RasterOp::SrcCopy ? s[x] >> 24 : std::max(s[x] >> 24, d[x] >> 24);
                stage.setPixel(ox + x, oy + y, c);
                d[x] |= (c == kBlack && op != RasterOp::SrcCopy ? 0 : alpha) << 24;
            }
        }
        ++step;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kTitleW * kTitleH);
}
BENCHMARK(BM_Draw32SmoothReference)->Arg(0)->Arg(5)->Arg(6);

// The title stretched to twice its size on the stage (target pixels counted).
void BM_StretchDraw32(benchmark::State& state)
{
    const RasterOp op = kOps[state.range(0)];
    state.SetLabel(kOpNames[state.range(0)]);
    const Bitmap title = makePicture(kTitleW, kTitleH, PixelFormat::Bits32);
    Bitmap stage(kStageW, kStageH, PixelFormat::Bits32);
    stage.canvas().copyMode = op;
    const Rect r{100, 300, 100 + 2 * kTitleW - 7, 300 + 2 * kTitleH + 3};
    for (auto _ : state) {
        stage.canvas().stretchDraw(r, title);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * r.width() * r.height());
}
BENCHMARK(BM_StretchDraw32)->Arg(0)->Arg(5);

void BM_StretchDraw32Reference(benchmark::State& state)
{
    const RasterOp op = kOps[state.range(0)];
    state.SetLabel(kOpNames[state.range(0)]);
    const Bitmap title = makePicture(kTitleW, kTitleH, PixelFormat::Bits32);
    Bitmap stage(kStageW, kStageH, PixelFormat::Bits32);
    const Rect r{100, 300, 100 + 2 * kTitleW - 7, 300 + 2 * kTitleH + 3};
    for (auto _ : state) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const int sx = (x - r.left) * kTitleW / r.width(), sy = (y - r.top) * kTitleH / r.height();
                stage.setPixel(x, y, rasterOpColor(op, title.pixel(sx, sy), stage.pixel(x, y), 0));
            }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * r.width() * r.height());
}
BENCHMARK(BM_StretchDraw32Reference)->Arg(0)->Arg(5);

// setPixelFormat on a title-sized bitmap: 24 -> 32 (arg 24) or 32 -> 24 (arg 32).
void BM_Convert(benchmark::State& state)
{
    const PixelFormat from = state.range(0) == 24 ? PixelFormat::Bits24 : PixelFormat::Bits32;
    const PixelFormat to = state.range(0) == 24 ? PixelFormat::Bits32 : PixelFormat::Bits24;
    state.SetLabel(state.range(0) == 24 ? "24->32" : "32->24");
    const Bitmap original = makePicture(kTitleW, kTitleH, from);
    Bitmap a = original;
    for (auto _ : state) {
        a.setPixelFormat(to);
        a.setPixelFormat(from);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 2 * kTitleW * kTitleH);
}
BENCHMARK(BM_Convert)->Arg(24)->Arg(32);

void BM_ConvertReference(benchmark::State& state)
{
    const PixelFormat from = state.range(0) == 24 ? PixelFormat::Bits24 : PixelFormat::Bits32;
    const PixelFormat to = state.range(0) == 24 ? PixelFormat::Bits32 : PixelFormat::Bits24;
    state.SetLabel(state.range(0) == 24 ? "24->32" : "32->24");
    Bitmap a = makePicture(kTitleW, kTitleH, from);
    for (auto _ : state) {
        Bitmap b(kTitleW, kTitleH, to);
        for (int y = 0; y < kTitleH; ++y)
            for (int x = 0; x < kTitleW; ++x)
                b.setPixel(x, y, a.pixel(x, y));
        Bitmap c(kTitleW, kTitleH, from);
        for (int y = 0; y < kTitleH; ++y)
            for (int x = 0; x < kTitleW; ++x)
                c.setPixel(x, y, b.pixel(x, y));
        a = std::move(c);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 2 * kTitleW * kTitleH);
}
BENCHMARK(BM_ConvertReference)->Arg(24)->Arg(32);

// Drawing a 24-bit title onto the 32-bit stage (the mixed-format fast path).
void BM_Draw24On32(benchmark::State& state)
{
    const Bitmap title = makePicture(kTitleW, kTitleH, PixelFormat::Bits24);
    Bitmap stage(kStageW, kStageH, PixelFormat::Bits32);
    for (auto _ : state) {
        stage.canvas().draw(100, 500, title);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kTitleW * kTitleH);
}
BENCHMARK(BM_Draw24On32);

} // namespace

BENCHMARK_MAIN();
