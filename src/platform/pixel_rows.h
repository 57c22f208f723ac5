#pragma once

// Row-level pixel kernels shared by Bitmap and Canvas: conversions between the pixel formats,
// and the raster operations applied to whole rows. Every function works on one row through
// pointers, with no bounds checks; callers clip first.

#include "platform/color.h"

#include <cstdint>

namespace lumavo {

enum class PixelFormat;
enum class RasterOp : std::uint32_t;

namespace pixel_rows {

// The fixed 256-entry halftone palette of 8-bit bitmaps: entries 0..215 are the 6x6x6 colour cube
// (levels 0, 51, 102, 153, 204, 255; index = 36r + 6g + b), 216..255 are forty greys between them.
Color paletteColor(std::uint8_t index);
// The palette entry nearest to c (squared distance over the three channels).
std::uint8_t nearestPaletteIndex(Color c);

// 5-5-5 words (x, r, g, b from high to low bit) and back. Each channel is rounded to the nearest
// 5-bit level and expanded so that 0 and 31 give 0 and 255.
std::uint16_t to555(Color c);
Color from555(std::uint16_t v);

// A colour as a 32-bit row word (bytes B, G, R, X with X = 0) and back.
constexpr std::uint32_t toWord(Color c)
{
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr Color fromWord(std::uint32_t w)
{
    return ((w & 0xFF) << 16) | (w & 0xFF00) | ((w >> 16) & 0xFF);
}

// A colour as a premultiplied B,G,R,A word by the key rule: black is transparent, any other
// colour opaque.
constexpr std::uint32_t keyedWord(Color c)
{
    return toWord(c) | ((c & 0xFFFFFF) != 0 ? 0xFF000000u : 0u);
}

// Unpacks n pixels of a row in any format, starting at pixel x0, to B,G,R,0 words.
void unpackRow(PixelFormat format, const std::uint8_t* row, int x0, int n, std::uint32_t* out);
// Packs n B,G,R,X words into a row of any format at pixel x0 (the X byte is ignored).
void packRow(PixelFormat format, std::uint8_t* row, int x0, int n, const std::uint32_t* in);

// 24-bit B,G,R to 32-bit B,G,R,0 and back, n pixels.
void row24To32(const std::uint8_t* src, std::uint32_t* dst, int n);
void row32To24(const std::uint32_t* src, std::uint8_t* dst, int n);

// d = op(s, d, p) over n bytes, byte by byte; p is a pattern of patternBytes bytes (3 or 4)
// repeated from the first byte. Only PatPaint reads p.
void applyBytes(RasterOp op, std::uint8_t* d, const std::uint8_t* s, int n, const std::uint8_t* p,
                int patternBytes);
// d = op(s, d, p) over n 32-bit words, p one word.
void applyWords(RasterOp op, std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t p);

// The raster operations on premultiplied B,G,R,A words: SrcCopy copies the whole pixel and
// Blackness clears it (transparent black); the others combine the colour bytes as applyWords does.
// A black result is transparent, as the key colour is for these operations on classic titles; any
// other takes the larger of the two alphas, raised to its brightest colour byte, so every result is
// a valid premultiplied pixel and whatever the operation lights stays visible.
void applyWordsAlpha(RasterOp op, std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t p);
// The straight colour of a premultiplied B,G,R,A word: each colour byte times 255 / alpha,
// rounded (at most 255); the alpha byte of the result is 0, and alpha 0 gives black.
std::uint32_t straightColour(std::uint32_t premultiplied);
// Gives n B,G,R,X words the key rule's alpha (black transparent, any other colour opaque).
void keyAlpha(std::uint32_t* words, int n);

// Fills n pixels from pixel x0 of a row with one colour.
void fillRow(PixelFormat format, std::uint8_t* row, int x0, int n, Color c);

} // namespace pixel_rows
} // namespace lumavo
