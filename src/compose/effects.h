#pragma once

// Pixel operations on finished title bitmaps: the 3x3 diagonal filter and the vertical colour
// gradient, each for 24- and 32-bit bitmaps, and the colour/pixel conversions they use. All work
// in place, row by row; row 0 is the top row.

#include "compose/rgb_records.h"
#include "platform/bitmap.h"
#include "platform/color.h"

namespace lumavo {

// Bit 25 of a colour value: the palette-relative flag every conversion back to a colour sets.
constexpr Color kPaletteRelative = Color{1} << 25;

// Blue = bits 16..23, green = bits 8..15, red = bits 0..7; bits 24..31 are ignored.
RGBTRIPLE ColorToTriple(Color color);
// As ColorToTriple, reserved = 0.
RGBQUAD ColorToQuad(Color color);
// 2^25 + blue * 65536 + green * 256 + red.
Color TripleToColor(const RGBTRIPLE& triple);
// As TripleToColor; the reserved byte is ignored.
Color QuadToColor(const RGBQUAD& quad);

// The filter's result for one pixel from the channel sums of its weighted neighbourhood (weight 8
// for the pixel, 1 for each diagonal neighbour): each sum divided by 6 and the three quotients
// OR-ed together unclamped, so a quotient above 255 spills its ninth bit into the next channel up.
Color filterColor(int sumRed, int sumGreen, int sumBlue);

// Diagonal filter on a 24-bit (Filter24) or 32-bit (Filter32) bitmap. Every pixel of rows 2..H-1,
// columns 0..W-2 becomes filterColor of the unfiltered picture; rows 0 and 1 and the last column
// keep their pixels; neighbours outside the bitmap count as black; the reserved byte of a changed
// 32-bit pixel becomes 0. False, the bitmap untouched, when its format is not the one named.
bool Filter24(Bitmap& bitmap);
bool Filter32(Bitmap& bitmap);

// The start colour of row r of a gradient over rows 0..D from start to end, each channel the
// nearest integer (a half to even) to (start - start / D * r) + end / D * r. D below 1 counts as 1.
RGBTRIPLE gradientRowColor(Color start, Color end, int row, int lastRow);

// The colour of row r of the 32-bit ramp from black at row 0 to end at row D: each channel the
// nearest integer (a half to even) to end / D * r; reserved 0. D below 1 counts as 1.
RGBQUAD gradient32RowColor(Color end, int row, int lastRow);

// Recolours every non-black pixel of row r of a 24-bit bitmap with gradientRowColor(start, end, r,
// height - 1). False, the bitmap untouched, when it is not 24-bit.
bool Gradient24(Bitmap& bitmap, Color start, Color end);

// Ramps a 32-bit bitmap from black at the top row to E = the bitmap canvas's font colour at the
// bottom: each non-zero channel k of a pixel in row r becomes round-half-even(E(k) / D * r) with
// D = height - 1 (1 for a single row); zero channels stay 0; the reserved byte becomes 0.
// False, the bitmap untouched, when it is not 32-bit.
bool Gradient32(Bitmap& bitmap);

} // namespace lumavo
