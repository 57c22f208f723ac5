#include "compose/effects.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace lumavo {

RGBTRIPLE ColorToTriple(Color color)
{
    return RGBTRIPLE{blueOf(color), greenOf(color), redOf(color)};
}

RGBQUAD ColorToQuad(Color color)
{
    return RGBQUAD{blueOf(color), greenOf(color), redOf(color), 0};
}

Color TripleToColor(const RGBTRIPLE& triple)
{
    return kPaletteRelative + triple.rgbtBlue * 65536u + triple.rgbtGreen * 256u + triple.rgbtRed;
}

Color QuadToColor(const RGBQUAD& quad)
{
    return kPaletteRelative + quad.rgbBlue * 65536u + quad.rgbGreen * 256u + quad.rgbRed;
}

Color filterColor(int sumRed, int sumGreen, int sumBlue)
{
    const auto qR = static_cast<Color>(sumRed / 6);
    const auto qG = static_cast<Color>(sumGreen / 6);
    const auto qB = static_cast<Color>(sumBlue / 6);
    return (qB * 65536u) | (qG * 256u) | qR | kPaletteRelative;
}

namespace {

std::uint8_t roundedChannel(double value)
{
    // nearbyint rounds a half to the even neighbour in the default rounding mode.
    return static_cast<std::uint8_t>(std::clamp(std::nearbyint(value), 0.0, 255.0));
}

// One row of the filter over a flat run of channel bytes. Pixels are `stride` bytes apart (3 or
// 4); up and down are the unfiltered rows above and below, mid the row itself, each readable
// `stride` bytes before its start and after its end (zero there). q receives the quotient of every
// channel byte of the row (`channels` of them); out receives the first channels - stride bytes.
// Built for AVX2 as well where the processor has it; the results are the same either way.
__attribute__((target_clones("avx2", "default")))
void filterRow(const std::uint8_t* __restrict up, const std::uint8_t* __restrict mid,
               const std::uint8_t* __restrict down, int stride, int channels, std::uint16_t* __restrict q,
               const std::uint8_t* __restrict keep, const std::uint8_t* __restrict spill,
               std::uint8_t* __restrict out)
{
    for (int i = 0; i < channels; ++i) {
        const std::uint16_t sum = static_cast<std::uint16_t>(
            8 * mid[i] + up[i - stride] + up[i + stride] + down[i - stride] + down[i + stride]);
        q[i] = static_cast<std::uint16_t>(sum / 6); // sum <= 3060: exact in 16 bits
    }
    const int written = channels - stride;
    for (int i = 0; i < written; ++i)
        out[i] = static_cast<std::uint8_t>((static_cast<std::uint8_t>(q[i]) & keep[i])
                                           | (static_cast<std::uint8_t>(q[i + 1] >> 8) & spill[i]));
}

// The filter over rows 2..H-1, columns 0..W-2, reading each row's unfiltered copy from a ring of
// three zero-padded row buffers, so the bitmap itself can take the result at once.
template <int kBytes>
void filterBitmap(Bitmap& bitmap)
{
    const int width = bitmap.width();
    const int height = bitmap.height();
    if (width < 2 || height < 3)
        return;
    const int rowBytes = width * kBytes;
    const int paddedBytes = rowBytes + 2 * kBytes;
    std::vector<std::uint8_t> ring(static_cast<std::size_t>(3) * paddedBytes, 0);
    const auto slot = [&](int row) { return ring.data() + (row % 3) * paddedBytes + kBytes; };

    // Per channel byte: which bits of the quotient stay (keep) and whether the next channel's
    // ninth bit spills in (spill). Blue takes green's, green takes red's; red spills nowhere and
    // the reserved byte of a 32-bit pixel becomes 0.
    std::vector<std::uint8_t> keep(static_cast<std::size_t>(rowBytes));
    std::vector<std::uint8_t> spill(static_cast<std::size_t>(rowBytes));
    for (int i = 0; i < rowBytes; ++i) {
        const int channel = i % kBytes; // 0 blue, 1 green, 2 red, 3 reserved
        keep[i] = channel < 3 ? 0xFF : 0;
        spill[i] = channel < 2 ? 0xFF : 0;
    }
    std::vector<std::uint16_t> quotients(static_cast<std::size_t>(rowBytes));

    std::memcpy(slot(1), bitmap.scanLine(1), rowBytes);
    std::memcpy(slot(2), bitmap.scanLine(2), rowBytes);
    for (int y = 2; y < height; ++y) {
        if (y + 1 < height)
            std::memcpy(slot(y + 1), bitmap.scanLine(y + 1), rowBytes);
        else
            std::memset(slot(y + 1), 0, rowBytes);
        filterRow(slot(y - 1), slot(y), slot(y + 1), kBytes, rowBytes, quotients.data(), keep.data(),
                  spill.data(), bitmap.scanLine(y));
    }
}

} // namespace

bool Filter24(Bitmap& bitmap)
{
    if (bitmap.pixelFormat() != PixelFormat::Bits24)
        return false;
    filterBitmap<3>(bitmap);
    return true;
}

bool Filter32(Bitmap& bitmap)
{
    if (bitmap.pixelFormat() != PixelFormat::Bits32)
        return false;
    filterBitmap<4>(bitmap);
    return true;
}

RGBTRIPLE gradientRowColor(Color start, Color end, int row, int lastRow)
{
    const double d = lastRow < 1 ? 1.0 : lastRow;
    const RGBTRIPLE s = ColorToTriple(start);
    const RGBTRIPLE e = ColorToTriple(end);
    const auto channel = [&](std::uint8_t from, std::uint8_t to) {
        const double stepFrom = from / d;
        const double stepTo = to / d;
        return roundedChannel((from - stepFrom * row) + stepTo * row);
    };
    return RGBTRIPLE{channel(s.rgbtBlue, e.rgbtBlue), channel(s.rgbtGreen, e.rgbtGreen),
                     channel(s.rgbtRed, e.rgbtRed)};
}

RGBQUAD gradient32RowColor(Color end, int row, int lastRow)
{
    const double d = lastRow < 1 ? 1.0 : lastRow;
    const RGBQUAD e = ColorToQuad(end);
    const auto channel = [&](std::uint8_t to) { return roundedChannel(to / d * row); };
    return RGBQUAD{channel(e.rgbBlue), channel(e.rgbGreen), channel(e.rgbRed), 0};
}

bool Gradient24(Bitmap& bitmap, Color start, Color end)
{
    if (bitmap.pixelFormat() != PixelFormat::Bits24)
        return false;
    const int width = bitmap.width();
    constexpr int kBlock = 8; // pixels tested at once: 24 bytes, three 64-bit words
    for (int y = 0; y < bitmap.height(); ++y) {
        const RGBTRIPLE c = gradientRowColor(start, end, y, bitmap.height() - 1);
        std::uint8_t* p = bitmap.scanLine(y);
        const auto recolour = [&](std::uint8_t* px) {
            if ((px[0] | px[1] | px[2]) != 0) {
                px[0] = c.rgbtBlue;
                px[1] = c.rgbtGreen;
                px[2] = c.rgbtRed;
            }
        };
        int x = 0;
        for (; x + kBlock <= width; x += kBlock) {
            std::uint64_t words[3];
            std::memcpy(words, p + x * 3, sizeof words);
            if ((words[0] | words[1] | words[2]) == 0)
                continue; // a run of black, the common case on a title
            for (int k = 0; k < kBlock; ++k)
                recolour(p + (x + k) * 3);
        }
        for (; x < width; ++x)
            recolour(p + x * 3);
    }
    return true;
}

bool Gradient32(Bitmap& bitmap)
{
    if (bitmap.pixelFormat() != PixelFormat::Bits32)
        return false;
    const Color end = bitmap.canvas().font.color;
    const int width = bitmap.width();
    for (int y = 0; y < bitmap.height(); ++y) {
        const RGBQUAD c = gradient32RowColor(end, y, bitmap.height() - 1);
        const std::uint32_t target = c.rgbBlue | (c.rgbGreen << 8) | (c.rgbRed << 16);
        std::uint8_t* p = bitmap.scanLine(y);
        for (int x = 0; x < width; ++x) {
            std::uint32_t w;
            std::memcpy(&w, p + x * 4, 4);
            // High bit of each byte set where that byte is non-zero, then widened to 0xFF.
            const std::uint32_t nonZero = (((w & 0x7F7F7F7Fu) + 0x7F7F7F7Fu) | w) & 0x80808080u;
            const std::uint32_t mask = (nonZero >> 7) * 0xFFu;
            w = target & mask;
            std::memcpy(p + x * 4, &w, 4);
        }
    }
    return true;
}

} // namespace lumavo
