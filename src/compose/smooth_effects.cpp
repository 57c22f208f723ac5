#include "compose/smooth_effects.h"

#include "platform/pixel_rows.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace lumavo {

namespace {

constexpr int kBoxPasses = 3;

std::uint32_t scaled(std::uint32_t v, std::uint32_t a) { return (v * a + 127) / 255; }

// One box pass over `count` words spaced `step` apart: each channel becomes the mean of the
// 2 * half + 1 neighbours (outside ones are zero). scratch holds count words.
void boxPass(std::uint32_t* p, int count, int step, int half, std::vector<std::uint32_t>& scratch)
{
    for (int i = 0; i < count; ++i)
        scratch[static_cast<std::size_t>(i)] = p[static_cast<std::ptrdiff_t>(i) * step];
    const std::uint32_t window = 2u * static_cast<std::uint32_t>(half) + 1u;
    std::uint32_t sum[4] = {0, 0, 0, 0};
    auto add = [&](int i, int sign) {
        if (i < 0 || i >= count)
            return;
        const std::uint32_t w = scratch[static_cast<std::size_t>(i)];
        for (int c = 0; c < 4; ++c)
            sum[c] += sign > 0 ? (w >> (8 * c)) & 0xFF : 0u - ((w >> (8 * c)) & 0xFF);
    };
    for (int i = -half; i < half; ++i)
        add(i, 1);
    for (int i = 0; i < count; ++i) {
        add(i + half, 1);
        std::uint32_t out = 0;
        for (int c = 0; c < 4; ++c)
            out |= ((sum[c] + window / 2) / window) << (8 * c);
        p[static_cast<std::ptrdiff_t>(i) * step] = out;
        add(i - half, -1);
    }
}

} // namespace

void applyToColour(Bitmap& bitmap, const std::function<void(Bitmap&)>& effect)
{
    if (!bitmap.hasAlpha()) {
        effect(bitmap);
        return;
    }
    const int w = bitmap.width(), h = bitmap.height();
    std::vector<std::uint8_t> alpha(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(bitmap.scanLine(y));
        for (int x = 0; x < w; ++x) {
            alpha[static_cast<std::size_t>(y) * w + x] = static_cast<std::uint8_t>(row[x] >> 24);
            row[x] = pixel_rows::straightColour(row[x]);
        }
    }
    // The effects treat the bitmap as a plain 32-bit one while they run.
    bitmap.setAlpha(false);
    effect(bitmap);
    bitmap.setAlpha(true);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(bitmap.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = row[x], a = alpha[static_cast<std::size_t>(y) * w + x];
            row[x] = scaled(p & 0xFF, a) | (scaled((p >> 8) & 0xFF, a) << 8) | (scaled((p >> 16) & 0xFF, a) << 16) |
                     (a << 24);
        }
    }
}

int softBlurStep(int radius) { return radius <= 0 ? 0 : (radius + kBoxPasses - 1) / kBoxPasses; }

int softBlurReach(int radius) { return kBoxPasses * softBlurStep(radius); }

void blurPremultiplied(Bitmap& bitmap, int radius)
{
    const int half = softBlurStep(radius);
    if (half == 0 || bitmap.isEmpty() || bitmap.bitsPerPixel() != 32)
        return;
    const int w = bitmap.width(), h = bitmap.height();
    const int stride = bitmap.bytesPerLine() / 4;
    std::vector<std::uint32_t> scratch(static_cast<std::size_t>(std::max(w, h)));
    auto* base = reinterpret_cast<std::uint32_t*>(bitmap.scanLine(0));
    for (int pass = 0; pass < kBoxPasses; ++pass) {
        for (int y = 0; y < h; ++y)
            boxPass(base + static_cast<std::ptrdiff_t>(y) * stride, w, 1, half, scratch);
        for (int x = 0; x < w; ++x)
            boxPass(base + x, h, stride, half, scratch);
    }
}

} // namespace lumavo
