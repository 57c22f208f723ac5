#pragma once

#include "platform/canvas.h"
#include "platform/color.h"

#include <cstdint>

namespace lumavo::test {

// The bitwise definition of each raster operation on one colour byte: source s, destination d,
// brush (pattern) p. Tests check the drawing code against it; benchmarks time it as the plain
// per-pixel version.
inline std::uint8_t rasterOpByte(RasterOp op, std::uint8_t s, std::uint8_t d, std::uint8_t p)
{
    switch (op) {
    case RasterOp::SrcCopy:
        return s;
    case RasterOp::NotSrcCopy:
        return static_cast<std::uint8_t>(~s);
    case RasterOp::NotSrcErase:
        return static_cast<std::uint8_t>(~(s | d));
    case RasterOp::PatPaint:
        return static_cast<std::uint8_t>(d | p | ~s);
    case RasterOp::SrcErase:
        return static_cast<std::uint8_t>(s & ~d);
    case RasterOp::SrcInvert:
        return static_cast<std::uint8_t>(s ^ d);
    case RasterOp::SrcPaint:
        return static_cast<std::uint8_t>(s | d);
    case RasterOp::Blackness:
        return 0;
    }
    return 0;
}

// The same on the three channels of a colour.
inline Color rasterOpColor(RasterOp op, Color s, Color d, Color p)
{
    return rgb(rasterOpByte(op, redOf(s), redOf(d), redOf(p)), rasterOpByte(op, greenOf(s), greenOf(d), greenOf(p)),
               rasterOpByte(op, blueOf(s), blueOf(d), blueOf(p)));
}

} // namespace lumavo::test
