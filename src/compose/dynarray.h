#pragma once

// Scratch arrays of 24-bit pixels for the diagonal filter. All indexes count from 1.

#include "compose/byte_block.h"
#include "compose/rgb_records.h"

#include <cstdint>

namespace lumavo::dynarray {

using lumavo::ENotEnoughMemory;

// count elements of 3 bytes (blue, green, red) in one contiguous block; element i occupies bytes
// (i - 1) * 3 .. i * 3 - 1.
class TBigByteArray {
public:
    static constexpr int kElementSize = 3;

    TBigByteArray() = default;
    // Allocates count elements (undefined content); count <= 0 gives an empty array. False with
    // *error filled (the array empty) when the block cannot be had.
    bool create(std::int64_t count, ENotEnoughMemory* error, std::uint64_t limitBytes = kNoMemoryLimit);
    void destroy() { block_.release(); }

    std::int32_t count() const { return block_.count(); }
    const std::uint8_t* data() const { return block_.data(); }

    // Copies element i into value; for i outside 1..count copies nothing and value keeps its content.
    void Get(std::int64_t i, RGBTRIPLE& value) const;
    // Stores the three low bytes of value (blue, green, red from low to high); nothing outside 1..count.
    void Put(std::int64_t i, std::uint32_t value);

private:
    ByteBlock block_;
};

// width x height elements of 3 bytes; (x, y) is element x + (y - 1) * width. Only that linear index
// is checked, so x = 0 and x = width + 1 reach into the neighbouring rows.
class TByteArray2D {
public:
    TByteArray2D() = default;
    // False with *error filled (the array empty) when width * height elements cannot be had.
    bool create(std::int32_t width, std::int32_t height, ENotEnoughMemory* error,
                std::uint64_t limitBytes = kNoMemoryLimit);
    void destroy();

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    const TBigByteArray& array() const { return array_; }

    void Get(std::int64_t x, std::int64_t y, RGBTRIPLE& value) const { array_.Get(linear(x, y), value); }
    void Put(std::int64_t x, std::int64_t y, std::uint32_t value) { array_.Put(linear(x, y), value); }

private:
    std::int64_t linear(std::int64_t x, std::int64_t y) const { return x + (y - 1) * width_; }

    TBigByteArray array_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

} // namespace lumavo::dynarray
