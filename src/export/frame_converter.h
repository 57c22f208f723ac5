#pragma once

#include "platform/bitmap.h"
#include "platform/geometry.h"

#include <cstdint>
#include <vector>

namespace lumavo {

// Where a frame's alpha comes from. BlackKey: 0 where the pixel is black (the key colour), 255
// elsewhere, colour as drawn. Straight and OverBlack read a stage with premultiplied alpha: the
// alpha is its fourth byte, and the colour is divided by it (Straight, for files that carry the
// alpha) or kept as drawn, which is the picture over black (OverBlack, for files without alpha).
enum class FrameAlpha { BlackKey, Straight, OverBlack };

// Turns the stage's 32-bit back buffer into the RGBA frame an encoder takes, its alpha by the
// FrameAlpha rule; with keyOnly the picture is that alpha as a matte instead (white on black,
// opaque). Keeps the previous frame and converts only the region that changed since.
class FrameConverter {
public:
    FrameConverter(Point size, bool keyOnly, FrameAlpha alpha = FrameAlpha::BlackKey);

    // Converts `changed` (clipped to the frame) of `back`, which must be a Bits32 bitmap of the size.
    void update(const Bitmap& back, const Rect& changed);

    const std::uint8_t* rgba() const { return rgba_.data(); }
    int stride() const { return width_ * 4; }

    // One row of 32-bit back-buffer pixels (B, G, R, X) to RGBA by the key rule.
    static void convertRow(const std::uint8_t* bgrx, std::uint8_t* rgba, int count, bool keyOnly);
    // One row of premultiplied B, G, R, A pixels to RGBA by the Straight or OverBlack rule.
    static void convertAlphaRow(const std::uint8_t* bgra, std::uint8_t* rgba, int count, bool keyOnly,
                                bool straight);

private:
    int width_;
    int height_;
    bool keyOnly_;
    FrameAlpha alpha_;
    std::vector<std::uint8_t> rgba_;
};

} // namespace lumavo
