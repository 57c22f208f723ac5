#pragma once

// Scratch arrays of 32-bit pixels for the diagonal filter. All indexes count from 1.

#include "compose/byte_block.h"
#include "compose/byte_grid.h"

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

// width x height elements of 4 bytes (the shape and its index mapping are ByteGrid's).
class TByteArray2D32 : public ByteGrid<TBigByteArray> {
public:
    std::uint32_t Get(std::int64_t x, std::int64_t y) const { return array_.Get(linear(x, y)); }
    void Put(std::int64_t x, std::int64_t y, std::uint32_t value) { array_.Put(linear(x, y), value); }
};

} // namespace lumavo::dynarray32
