#pragma once

#include "platform/bitmap.h"
#include "platform/geometry.h"
#include "storage/workspace.h"

#include <QString>

namespace lumavo {

// The formats a title is composed in: finished titles get `title`; the filter and the gradient run
// in `effect` (32-bit when title is 32-bit, else 24-bit).
struct ComposeFormats {
    PixelFormat title = PixelFormat::Device;
    PixelFormat effect = PixelFormat::Bits24;
};

struct ComposedTitle {
    Bitmap bitmap;              // the framed title; empty when its picture could not be loaded
    Point position;             // where the title image is placed (the rest position on success)
    bool ok = true;             // false: the picture failed; errorMessage holds the text to show
    QString errorMessage;
};

// Composes title line n (1..3) of the page into a framed bitmap: text with shadow, or the picture,
// then filter and gradient, then the one-pixel frame (black, or the line's colour in alignment
// mode). A picture that fails to load clears line.bitmapFile and returns ok = false with the
// message. `screenSize` places a failed title just off the screen.
ComposedTitle composeTitle(TitleLine& line, int n, Point rest, const ComposeFormats& formats,
                           bool alignMode, const QString& projectDir, Point screenSize);

} // namespace lumavo
