#pragma once

#include "platform/bitmap.h"
#include "platform/geometry.h"
#include "storage/workspace.h"

#include <QString>
#include <functional>

namespace lumavo {

// The formats a title is composed in: finished titles get `title`; the filter and the gradient run
// in `effect` (32-bit when title is 32-bit, else 24-bit).
// With smooth, titles are antialiased B,G,R,A bitmaps with premultiplied alpha whatever the two
// formats say (the filter and gradient then run in 32 bits).
struct ComposeFormats {
    PixelFormat title = PixelFormat::Device;
    PixelFormat effect = PixelFormat::Bits24;
    bool smooth = false;
};

struct ComposedTitle {
    Bitmap bitmap;              // the framed title; empty when its picture could not be loaded
    Point position;             // where the title image is placed (the rest position on success)
    bool ok = true;             // false: the picture failed; errorMessage holds the text to show
    QString errorMessage;
};

// Largest title bitmap composition makes; a larger one fails with the not-enough-memory message.
constexpr std::int64_t kMaxTitlePixels = 64LL * 1000 * 1000;

// The frame of title line n (1..3): black in playback; red, white, blue in alignment mode.
Color titleFrameColor(int n, bool alignMode);
// "Error opening file: " + fileName, the whole message cut to 100 characters.
QString pictureErrorMessage(const QString& fileName);
// The drop shadow's offset in pixels for a font size in points: points / 16 (0 below 16, negative sizes included).
int shadowOffset(int points);

// Composes title line n (1..3) of the page into a framed bitmap: text with shadow, or the picture,
// then filter and gradient, then the one-pixel frame (black, or the line's colour in alignment
// mode). The text bitmap is as large as the text's cell and its ink, so no glyph is cut; smooth
// titles add the line's outline and soft shadow, and pictures keep their own alpha. A picture that fails to load clears line.bitmapFile and returns ok = false with the
// message. A title larger than kMaxTitlePixels (or memory running out) returns ok = false with the
// not-enough-memory message and leaves the line as it was. On failure the bitmap is empty and the
// position is just off the screen, at screenSize + (1, 1). A stored picture path is looked up
// against projectDir (resolveStoredPath); one that names no existing file composes the line as text.
ComposedTitle composeTitle(const TitleLine& line, int n, Point rest, const ComposeFormats& formats,
                           bool alignMode, const QString& projectDir, Point screenSize);

// Runs `compose` on the line as shown: its text with the {{Column}} placeholders filled from the
// selected data row. The stored line keeps its text as typed.
ComposedTitle composeShownLine(const TitleLine& line, const DataRow& row,
                               const std::function<ComposedTitle(const TitleLine&)>& compose);

} // namespace lumavo
