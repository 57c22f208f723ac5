#pragma once

// Scratch arrays of 32-bit pixels for the diagonal filter. All indexes count from 1.

#include "compose/byte_block.h"

#include <cstdint>

namespace lumavo::dynarray32 {

using lumavo::ENotEnoughMemory;

// count elements of 4 bytes in one contiguous block, each a little-endian 32-bit integer (for a
// pixel: blue, green, red, reserved); element i occupies bytes (i - 1) * 4 .. i * 4 - 1.
class TBigByteArray {
public:
    static constexpr int kElementSize = 4;

    TBigByteArray() = default;
    // Allocates count elements (undefined content); count <= 0 gives an empty array. False with
    // *error filled (the array empty) when the block cannot be had.
    bool create(std::int64_t count, ENotEnoughMemory* error, std::uint64_t limitBytes = kNoMemoryLimit);
    void destroy() { block_.release(); }

    std::int32_t count() const { return block_.count(); }
    const std::uint8_t* data() const { return block_.data(); }

    // Element i; 0 for i outside 1..count.
    std::uint32_t Get(std::int64_t i) const;
    // Stores value as element i; nothing outside 1..count.
    void Put(std::int64_t i, std::uint32_t value);

private:
    ByteBlock block_;
};

// width x height elements of 4 bytes; (x, y) is element x + (y - 1) * width. Only that linear index
// is checked, so x = 0 and x = width + 1 reach into the neighbouring rows.
class TByteArray2D32 {
public:
    TByteArray2D32() = default;
    // False with *error filled (the array empty) when width * height elements cannot be had.
    bool create(std::int32_t width, std::int32_t height, ENotEnoughMemory* error,
                std::uint64_t limitBytes = kNoMemoryLimit);
    void destroy();

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    const TBigByteArray& array() const { return array_; }

    std::uint32_t Get(std::int64_t x, std::int64_t y) const { return array_.Get(linear(x, y)); }
    void Put(std::int64_t x, std::int64_t y, std::uint32_t value) { array_.Put(linear(x, y), value); }

private:
    std::int64_t linear(std::int64_t x, std::int64_t y) const { return x + (y - 1) * width_; }

    TBigByteArray array_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

} // namespace lumavo::dynarray32
