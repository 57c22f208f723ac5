#pragma once

// The arithmetic behind the gradient window and the font chooser, kept apart from the windows.

#include "platform/color.h"

#include <QString>
#include <QStringList>
#include <array>

namespace lumavo {

// Red, green, blue as the gradient window's edits hold them.
using RgbValues = std::array<int, 3>;

// The colour pair of the gradient slider at position 0..765 (clamped): end colour (the font
// colour) and start colour, each red, green, blue.
struct SliderColorPair {
    RgbValues end;
    RgbValues start;
};
SliderColorPair sliderColorPair(int position);

// A decimal number as the colour edits read it: leading blanks skipped, reading stops at the
// first character that is not a digit; no digits gives 0. Saturates instead of overflowing.
int readEditNumber(const QString& text);
// Index (0..2) of the first value above 255, or -1 when all three are in range.
int firstAbove255(const RgbValues& values);
// TripleToColor of the three values (0..255): the colour with the palette-relative flag.
Color colorFromRgbValues(const RgbValues& values);
// The red, green and blue of a colour.
RgbValues rgbValuesOf(Color color);

// The font chooser's size range in points.
constexpr int kMinChooserPoints = 16;
constexpr int kMaxChooserPoints = 200;
int clampChooserPoints(int points);

// The face list of the font chooser: "Default" and every family, without repeats, sorted without
// regard to case.
QStringList chooserFaceList(const QStringList& families);
// The face OK writes: the face last clicked, or the line's own face when none was ever clicked.
QString faceForOk(const QString& chosenFace, const QString& lineFace);

} // namespace lumavo
