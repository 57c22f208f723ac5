#include "platform/pixel_rows.h"

#include "platform/bitmap.h"
#include "platform/canvas.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace lumavo::pixel_rows {

namespace {

constexpr int kCubeLevels[6] = {0, 51, 102, 153, 204, 255};
constexpr int kExtraGreys = 40;

struct Palette {
    std::array<Color, 256> colors{};
    std::array<std::uint32_t, 256> words{};
    // For each grey value 0..255, the palette index of the nearest grey entry.
    std::array<std::uint8_t, 256> nearestGrey{};
    std::array<std::uint8_t, 256> nearestLevel{};

    Palette()
    {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    colors[36 * r + 6 * g + b] = rgb(kCubeLevels[r], kCubeLevels[g], kCubeLevels[b]);
        for (int k = 1; k <= kExtraGreys; ++k) {
            const auto v = static_cast<std::uint8_t>((k * 255 + 20) / (kExtraGreys + 1));
            colors[215 + k] = rgb(v, v, v);
        }
        for (int i = 0; i < 256; ++i)
            words[i] = toWord(colors[i]);
        for (int v = 0; v < 256; ++v) {
            int best = 0;
            int bestDistance = 1 << 30;
            for (int i = 0; i < 256; ++i) {
                const Color c = colors[i];
                if (redOf(c) != greenOf(c) || greenOf(c) != blueOf(c))
                    continue;
                const int d = (redOf(c) - v) * (redOf(c) - v);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = i;
                }
            }
            nearestGrey[v] = static_cast<std::uint8_t>(best);
            nearestLevel[v] = static_cast<std::uint8_t>((v + 25) / 51);
        }
    }
};

const Palette& palette()
{
    static const Palette p;
    return p;
}

inline int squaredDistance(Color a, Color b)
{
    const int dr = redOf(a) - redOf(b);
    const int dg = greenOf(a) - greenOf(b);
    const int db = blueOf(a) - blueOf(b);
    return dr * dr + dg * dg + db * db;
}

inline std::uint8_t to5(std::uint32_t v) { return static_cast<std::uint8_t>((v * 31 + 127) / 255); }
inline std::uint32_t from5(std::uint32_t v) { return (v << 3) | (v >> 2); }

} // namespace

Color paletteColor(std::uint8_t index) { return palette().colors[index]; }

std::uint8_t nearestPaletteIndex(Color c)
{
    const Palette& p = palette();
    const std::uint8_t cube = static_cast<std::uint8_t>(36 * p.nearestLevel[redOf(c)] +
                                                        6 * p.nearestLevel[greenOf(c)] +
                                                        p.nearestLevel[blueOf(c)]);
    const int mean = (redOf(c) + greenOf(c) + blueOf(c) + 1) / 3;
    const std::uint8_t grey = p.nearestGrey[mean];
    return squaredDistance(p.colors[grey], c) < squaredDistance(p.colors[cube], c) ? grey : cube;
}

std::uint16_t to555(Color c)
{
    return static_cast<std::uint16_t>((to5(redOf(c)) << 10) | (to5(greenOf(c)) << 5) | to5(blueOf(c)));
}

Color from555(std::uint16_t v)
{
    return rgb(static_cast<std::uint8_t>(from5((v >> 10) & 31)),
               static_cast<std::uint8_t>(from5((v >> 5) & 31)),
               static_cast<std::uint8_t>(from5(v & 31)));
}

void row24To32(const std::uint8_t* src, std::uint32_t* dst, int n)
{
    int i = 0;
    // Four pixels from three little-endian words at a time.
    for (; i + 4 <= n; i += 4) {
        std::uint32_t w[3];
        std::memcpy(w, src + 3 * i, 12);
        dst[i] = w[0] & 0xFFFFFF;
        dst[i + 1] = (w[0] >> 24) | ((w[1] & 0xFFFF) << 8);
        dst[i + 2] = (w[1] >> 16) | ((w[2] & 0xFF) << 16);
        dst[i + 3] = w[2] >> 8;
    }
    for (; i < n; ++i) {
        const std::uint8_t* s = src + 3 * i;
        dst[i] = s[0] | (static_cast<std::uint32_t>(s[1]) << 8) | (static_cast<std::uint32_t>(s[2]) << 16);
    }
}

void row32To24(const std::uint32_t* src, std::uint8_t* dst, int n)
{
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const std::uint32_t p0 = src[i], p1 = src[i + 1], p2 = src[i + 2], p3 = src[i + 3];
        const std::uint32_t w[3] = {(p0 & 0xFFFFFF) | (p1 << 24), ((p1 >> 8) & 0xFFFF) | (p2 << 16),
                                    ((p2 >> 16) & 0xFF) | (p3 << 8)};
        std::memcpy(dst + 3 * i, w, 12);
    }
    for (; i < n; ++i) {
        std::uint8_t* d = dst + 3 * i;
        d[0] = static_cast<std::uint8_t>(src[i]);
        d[1] = static_cast<std::uint8_t>(src[i] >> 8);
        d[2] = static_cast<std::uint8_t>(src[i] >> 16);
    }
}

void unpackRow(PixelFormat format, const std::uint8_t* row, int x0, int n, std::uint32_t* out)
{
    switch (format) {
    case PixelFormat::Device:
    case PixelFormat::Bits32:
        std::memcpy(out, row + 4 * static_cast<std::size_t>(x0), 4 * static_cast<std::size_t>(n));
        break;
    case PixelFormat::Bits24:
        row24To32(row + 3 * static_cast<std::size_t>(x0), out, n);
        break;
    case PixelFormat::Bits16:
        for (int i = 0; i < n; ++i) {
            std::uint16_t v;
            std::memcpy(&v, row + 2 * static_cast<std::size_t>(x0 + i), 2);
            out[i] = toWord(from555(v));
        }
        break;
    case PixelFormat::Bits8: {
        const auto& words = palette().words;
        for (int i = 0; i < n; ++i)
            out[i] = words[row[x0 + i]];
        break;
    }
    }
}

void packRow(PixelFormat format, std::uint8_t* row, int x0, int n, const std::uint32_t* in)
{
    switch (format) {
    case PixelFormat::Device:
    case PixelFormat::Bits32:
        std::memcpy(row + 4 * static_cast<std::size_t>(x0), in, 4 * static_cast<std::size_t>(n));
        break;
    case PixelFormat::Bits24:
        row32To24(in, row + 3 * static_cast<std::size_t>(x0), n);
        break;
    case PixelFormat::Bits16:
        for (int i = 0; i < n; ++i) {
            const std::uint16_t v = to555(fromWord(in[i]));
            std::memcpy(row + 2 * static_cast<std::size_t>(x0 + i), &v, 2);
        }
        break;
    case PixelFormat::Bits8: {
        // Runs of one colour are common (backgrounds): remember the last answer.
        std::uint32_t lastWord = 0;
        std::uint8_t lastIndex = nearestPaletteIndex(0);
        for (int i = 0; i < n; ++i) {
            const std::uint32_t w = in[i] & 0xFFFFFF;
            if (w != lastWord) {
                lastWord = w;
                lastIndex = nearestPaletteIndex(fromWord(w));
            }
            row[x0 + i] = lastIndex;
        }
        break;
    }
    }
}

void applyBytes(RasterOp op, std::uint8_t* d, const std::uint8_t* s, int n, const std::uint8_t* p,
                int patternBytes)
{
    switch (op) {
    case RasterOp::SrcCopy:
        std::memcpy(d, s, static_cast<std::size_t>(n));
        break;
    case RasterOp::NotSrcCopy:
        for (int i = 0; i < n; ++i)
            d[i] = static_cast<std::uint8_t>(~s[i]);
        break;
    case RasterOp::NotSrcErase:
        for (int i = 0; i < n; ++i)
            d[i] = static_cast<std::uint8_t>(~(s[i] | d[i]));
        break;
    case RasterOp::PatPaint: {
        int k = 0;
        for (int i = 0; i < n; ++i) {
            d[i] = static_cast<std::uint8_t>(d[i] | p[k] | ~s[i]);
            if (++k == patternBytes)
                k = 0;
        }
        break;
    }
    case RasterOp::SrcErase:
        for (int i = 0; i < n; ++i)
            d[i] = static_cast<std::uint8_t>(s[i] & ~d[i]);
        break;
    case RasterOp::SrcInvert:
        for (int i = 0; i < n; ++i)
            d[i] = static_cast<std::uint8_t>(s[i] ^ d[i]);
        break;
    case RasterOp::SrcPaint:
        for (int i = 0; i < n; ++i)
            d[i] = static_cast<std::uint8_t>(s[i] | d[i]);
        break;
    case RasterOp::Blackness:
        std::memset(d, 0, static_cast<std::size_t>(n));
        break;
    }
}

void applyWords(RasterOp op, std::uint32_t* __restrict d, const std::uint32_t* __restrict s, int n,
                std::uint32_t p)
{
    switch (op) {
    case RasterOp::SrcCopy:
        std::memcpy(d, s, 4 * static_cast<std::size_t>(n));
        break;
    case RasterOp::NotSrcCopy:
        for (int i = 0; i < n; ++i)
            d[i] = ~s[i];
        break;
    case RasterOp::NotSrcErase:
        for (int i = 0; i < n; ++i)
            d[i] = ~(s[i] | d[i]);
        break;
    case RasterOp::PatPaint:
        for (int i = 0; i < n; ++i)
            d[i] = d[i] | p | ~s[i];
        break;
    case RasterOp::SrcErase:
        for (int i = 0; i < n; ++i)
            d[i] = s[i] & ~d[i];
        break;
    case RasterOp::SrcInvert:
        for (int i = 0; i < n; ++i)
            d[i] = s[i] ^ d[i];
        break;
    case RasterOp::SrcPaint:
        for (int i = 0; i < n; ++i)
            d[i] = s[i] | d[i];
        break;
    case RasterOp::Blackness:
        std::memset(d, 0, 4 * static_cast<std::size_t>(n));
        break;
    }
}

void applyWordsAlpha(RasterOp op, std::uint32_t* __restrict d, const std::uint32_t* __restrict s, int n,
                     std::uint32_t p)
{
    if (op == RasterOp::SrcCopy || op == RasterOp::Blackness) {
        applyWords(op, d, s, n, p);
        return;
    }
    // The colour operation runs on whole rows; the alphas are settled after it, chunk by chunk.
    constexpr int kChunk = 256;
    std::uint32_t before[kChunk];
    for (int start = 0; start < n; start += kChunk) {
        const int count = std::min(kChunk, n - start);
        std::uint32_t* dd = d + start;
        const std::uint32_t* ss = s + start;
        std::memcpy(before, dd, 4 * static_cast<std::size_t>(count));
        applyWords(op, dd, ss, count, p & 0xFFFFFFu);
        for (int i = 0; i < count; ++i) {
            const std::uint32_t colour = dd[i] & 0xFFFFFFu;
            const std::uint32_t brightest = std::max({colour & 0xFF, (colour >> 8) & 0xFF, colour >> 16});
            const std::uint32_t alpha = std::max({ss[i] >> 24, before[i] >> 24, brightest});
            // Black is the key colour: what an operation turns black disappears.
            dd[i] = colour == 0 ? 0u : colour | (alpha << 24);
        }
    }
}

std::uint32_t straightColour(std::uint32_t premultiplied)
{
    // 255 * 65536 / a, rounded, so that a division by the alpha is one multiply.
    static const std::array<std::uint32_t, 256> reciprocal = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t a = 1; a < 256; ++a)
            t[a] = (255u * 65536u + a / 2) / a;
        return t;
    }();
    const std::uint32_t k = reciprocal[premultiplied >> 24];
    std::uint32_t straight = 0;
    for (int shift = 0; shift < 24; shift += 8)
        straight |= std::min(255u, (((premultiplied >> shift) & 0xFF) * k + 32768) >> 16) << shift;
    return straight;
}

void keyAlpha(std::uint32_t* words, int n)
{
    for (int i = 0; i < n; ++i)
        words[i] = keyedWord(fromWord(words[i]));
}

void fillRow(PixelFormat format, std::uint8_t* row, int x0, int n, Color c)
{
    if (n <= 0)
        return;
    switch (format) {
    case PixelFormat::Device:
    case PixelFormat::Bits32: {
        auto* d = reinterpret_cast<std::uint32_t*>(row) + x0;
        const std::uint32_t w = toWord(c);
        for (int i = 0; i < n; ++i)
            d[i] = w;
        break;
    }
    case PixelFormat::Bits24: {
        std::uint8_t* d = row + 3 * static_cast<std::size_t>(x0);
        const std::uint8_t b = blueOf(c), g = greenOf(c), r = redOf(c);
        for (int i = 0; i < n; ++i) {
            d[3 * i] = b;
            d[3 * i + 1] = g;
            d[3 * i + 2] = r;
        }
        break;
    }
    case PixelFormat::Bits16: {
        const std::uint16_t v = to555(c);
        for (int i = 0; i < n; ++i)
            std::memcpy(row + 2 * static_cast<std::size_t>(x0 + i), &v, 2);
        break;
    }
    case PixelFormat::Bits8:
        std::memset(row + x0, nearestPaletteIndex(c), static_cast<std::size_t>(n));
        break;
    }
}

} // namespace lumavo::pixel_rows
