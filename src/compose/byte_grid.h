#pragma once

#include "compose/byte_block.h"

#include <cstdint>

namespace lumavo {

// The shape the two-dimensional byte arrays share: width x height elements of Array, where (x, y)
// is element x + (y - 1) * width. Only that linear index is checked, so x = 0 and x = width + 1
// reach into the neighbouring rows.
template <class Array>
class ByteGrid {
public:
    // False with *error filled (the array empty) when width * height elements cannot be had.
    bool create(std::int32_t width, std::int32_t height, ENotEnoughMemory* error,
                std::uint64_t limitBytes = kNoMemoryLimit)
    {
        destroy();
        const std::int64_t count = (width > 0 && height > 0) ? std::int64_t{width} * height : 0;
        if (!array_.create(count, error, limitBytes))
            return false;
        width_ = width;
        height_ = height;
        return true;
    }
    void destroy()
    {
        array_.destroy();
        width_ = 0;
        height_ = 0;
    }

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    const Array& array() const { return array_; }

protected:
    std::int64_t linear(std::int64_t x, std::int64_t y) const { return x + (y - 1) * width_; }

    Array array_;

private:
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

} // namespace lumavo
