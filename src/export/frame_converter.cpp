#include "export/frame_converter.h"

#include "platform/pixel_rows.h"

#include <algorithm>
#include <cstring>

namespace lumavo {

FrameConverter::FrameConverter(Point size, bool keyOnly, FrameAlpha alpha)
    : width_(size.x), height_(size.y), keyOnly_(keyOnly), alpha_(alpha),
      rgba_(static_cast<std::size_t>(size.x) * static_cast<std::size_t>(size.y) * 4, 0)
{
    // A black stage: transparent, or a black opaque matte.
    if (keyOnly_)
        for (std::size_t i = 3; i < rgba_.size(); i += 4)
            rgba_[i] = 255;
}

void FrameConverter::convertRow(const std::uint8_t* bgrx, std::uint8_t* rgba, int count, bool keyOnly)
{
    for (int x = 0; x < count; ++x, bgrx += 4, rgba += 4) {
        const std::uint8_t b = bgrx[0], g = bgrx[1], r = bgrx[2];
        const std::uint8_t alpha = (r | g | b) != 0 ? 255 : 0;
        if (keyOnly) {
            rgba[0] = rgba[1] = rgba[2] = alpha;
            rgba[3] = 255;
        } else {
            rgba[0] = r;
            rgba[1] = g;
            rgba[2] = b;
            rgba[3] = alpha;
        }
    }
}

void FrameConverter::convertAlphaRow(const std::uint8_t* bgra, std::uint8_t* rgba, int count, bool keyOnly,
                                     bool straight)
{
    for (int x = 0; x < count; ++x, bgra += 4, rgba += 4) {
        const std::uint8_t alpha = bgra[3];
        if (keyOnly) {
            rgba[0] = rgba[1] = rgba[2] = alpha;
            rgba[3] = 255;
            continue;
        }
        if (!straight || alpha == 255) {
            rgba[0] = bgra[2];
            rgba[1] = bgra[1];
            rgba[2] = bgra[0];
        } else {
            std::uint32_t word;
            std::memcpy(&word, bgra, 4);
            const std::uint32_t straight = pixel_rows::straightColour(word);
            rgba[0] = static_cast<std::uint8_t>(straight >> 16);
            rgba[1] = static_cast<std::uint8_t>(straight >> 8);
            rgba[2] = static_cast<std::uint8_t>(straight);
        }
        rgba[3] = alpha;
    }
}

void FrameConverter::update(const Bitmap& back, const Rect& changed)
{
    const int left = std::max(changed.left, 0);
    const int right = std::min(changed.right, width_);
    const int top = std::max(changed.top, 0);
    const int bottom = std::min(changed.bottom, height_);
    if (right <= left || bottom <= top)
        return;
    for (int y = top; y < bottom; ++y) {
        const std::uint8_t* in = back.scanLine(y) + left * 4;
        std::uint8_t* out = rgba_.data() + (static_cast<std::size_t>(y) * width_ + left) * 4;
        if (alpha_ == FrameAlpha::BlackKey)
            convertRow(in, out, right - left, keyOnly_);
        else
            convertAlphaRow(in, out, right - left, keyOnly_, alpha_ == FrameAlpha::Straight);
    }
}

} // namespace lumavo
