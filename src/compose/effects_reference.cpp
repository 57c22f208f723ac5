#include "compose/effects_reference.h"

#include "compose/dynarray.h"
#include "compose/dynarray32.h"
#include "compose/effects.h"

#include <cstring>

namespace lumavo::effects_reference {

namespace {

// Weights of the 3x3 neighbourhood (rows dy = -1..1, columns dx = -1..1): the centre of the 5x5
// kernel whose even-numbered cells hold 1 and whose centre holds 8.
constexpr int kWeights[3][3] = {{1, 0, 1}, {0, 8, 0}, {1, 0, 1}};

// A pixel as the word the byte arrays store: blue, green, red from the low byte up.
std::uint32_t tripleWord(const RGBTRIPLE& t)
{
    return std::uint32_t{t.rgbtBlue} | (std::uint32_t{t.rgbtGreen} << 8) | (std::uint32_t{t.rgbtRed} << 16);
}

// The filter over every pixel: read(x, y) gives an unfiltered pixel inside the bitmap as a colour
// (neighbours outside count as black), store(x, y, colour) takes the result.
template <typename ReadPixel>
void filterWith(int width, int height, ReadPixel read, auto&& store)
{
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int sumRed = 0;
            int sumGreen = 0;
            int sumBlue = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    const Color c = (nx < 0 || ny < 0 || nx >= width || ny >= height) ? kBlack : read(nx, ny);
                    const int w = kWeights[dy + 1][dx + 1];
                    sumRed += w * redOf(c);
                    sumGreen += w * greenOf(c);
                    sumBlue += w * blueOf(c);
                }
            }
            store(x, y, filterColor(sumRed, sumGreen, sumBlue));
        }
    }
}

} // namespace

std::optional<ENotEnoughMemory> Filter24(Bitmap& bitmap, std::uint64_t limitBytes)
{
    const int width = bitmap.width();
    const int height = bitmap.height();
    ENotEnoughMemory error;
    dynarray::TByteArray2D source;
    dynarray::TByteArray2D result;
    if (!source.create(width, height, &error, limitBytes) || !result.create(width, height, &error, limitBytes))
        return error;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            RGBTRIPLE t;
            std::memcpy(&t, bitmap.scanLine(y) + x * 3, 3);
            source.Put(x + 1, y + 1, tripleWord(t));
        }
    }
    filterWith(
        width, height,
        [&](int x, int y) {
            RGBTRIPLE t;
            source.Get(x + 1, y + 1, t);
            return TripleToColor(t);
        },
        [&](int x, int y, Color c) { result.Put(x + 1, y + 1, tripleWord(ColorToTriple(c))); });
    for (int y = 2; y < height; ++y) {
        for (int x = 0; x < width - 1; ++x) {
            RGBTRIPLE t;
            result.Get(x + 1, y + 1, t);
            std::memcpy(bitmap.scanLine(y) + x * 3, &t, 3);
        }
    }
    return std::nullopt;
}

std::optional<ENotEnoughMemory> Filter32(Bitmap& bitmap, std::uint64_t limitBytes)
{
    const int width = bitmap.width();
    const int height = bitmap.height();
    ENotEnoughMemory error;
    dynarray32::TByteArray2D32 source;
    dynarray32::TByteArray2D32 result;
    if (!source.create(width, height, &error, limitBytes) || !result.create(width, height, &error, limitBytes))
        return error;
    const auto quadAt = [&](int x, int y) {
        RGBQUAD q;
        std::memcpy(&q, bitmap.scanLine(y) + x * 4, 4);
        return q;
    };
    const auto wordOf = [](const RGBQUAD& q) {
        return std::uint32_t{q.rgbBlue} | (std::uint32_t{q.rgbGreen} << 8) | (std::uint32_t{q.rgbRed} << 16)
            | (std::uint32_t{q.rgbReserved} << 24);
    };
    const auto quadOf = [](std::uint32_t w) {
        return RGBQUAD{static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(w >> 8),
                       static_cast<std::uint8_t>(w >> 16), static_cast<std::uint8_t>(w >> 24)};
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            source.Put(x + 1, y + 1, wordOf(quadAt(x, y)));
    filterWith(
        width, height, [&](int x, int y) { return QuadToColor(quadOf(source.Get(x + 1, y + 1))); },
        [&](int x, int y, Color c) { result.Put(x + 1, y + 1, wordOf(ColorToQuad(c))); });
    for (int y = 2; y < height; ++y) {
        for (int x = 0; x < width - 1; ++x) {
            const RGBQUAD q = quadOf(result.Get(x + 1, y + 1));
            std::memcpy(bitmap.scanLine(y) + x * 4, &q, 4);
        }
    }
    return std::nullopt;
}

void Gradient24(Bitmap& bitmap, Color start, Color end)
{
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            std::uint8_t* px = bitmap.scanLine(y) + x * 3;
            if (px[0] + px[1] + px[2] == 0)
                continue;
            const RGBTRIPLE c = gradientRowColor(start, end, y, bitmap.height() - 1);
            std::memcpy(px, &c, 3);
        }
    }
}

void Gradient32(Bitmap& bitmap)
{
    const Color end = bitmap.canvas().font.color;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            std::uint8_t* px = bitmap.scanLine(y) + x * 4;
            const RGBQUAD c = gradient32RowColor(end, y, bitmap.height() - 1);
            px[0] = px[0] > 0 ? c.rgbBlue : 0;
            px[1] = px[1] > 0 ? c.rgbGreen : 0;
            px[2] = px[2] > 0 ? c.rgbRed : 0;
            px[3] = 0;
        }
    }
}

} // namespace lumavo::effects_reference
