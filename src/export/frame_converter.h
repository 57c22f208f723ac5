#pragma once

#include "platform/bitmap.h"
#include "platform/geometry.h"

#include <cstdint>
#include <vector>

namespace lumavo {

// Turns the stage's 32-bit back buffer into the RGBA frame an encoder takes: colour as drawn,
// alpha 0 where the pixel is black (the key colour) and 255 elsewhere; with keyOnly the picture
// is that matte instead (white on black, opaque). Keeps the previous frame and converts only the
// region that changed since.
class FrameConverter {
public:
    FrameConverter(Point size, bool keyOnly);

    // Converts `changed` (clipped to the frame) of `back`, which must be a Bits32 bitmap of the size.
    void update(const Bitmap& back, const Rect& changed);

    const std::uint8_t* rgba() const { return rgba_.data(); }
    int stride() const { return width_ * 4; }

    // One row of 32-bit back-buffer pixels (B, G, R, X) to RGBA by the key rule.
    static void convertRow(const std::uint8_t* bgrx, std::uint8_t* rgba, int count, bool keyOnly);

private:
    int width_;
    int height_;
    bool keyOnly_;
    std::vector<std::uint8_t> rgba_;
};

} // namespace lumavo
