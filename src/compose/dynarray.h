#pragma once

// Scratch arrays of 24-bit pixels for the diagonal filter. All indexes count from 1.

#include "compose/byte_block.h"
#include "compose/byte_grid.h"
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

// width x height elements of 3 bytes (the shape and its index mapping are ByteGrid's).
class TByteArray2D : public ByteGrid<TBigByteArray> {
public:
    void Get(std::int64_t x, std::int64_t y, RGBTRIPLE& value) const { array_.Get(linear(x, y), value); }
    void Put(std::int64_t x, std::int64_t y, std::uint32_t value) { array_.Put(linear(x, y), value); }
};

} // namespace lumavo::dynarray
