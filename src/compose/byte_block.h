#pragma once

#include <QString>
#include <cstdint>
#include <limits>
#include <memory>

namespace lumavo {

// The failed allocation of a byte array: the message names the bytes that were asked for.
struct ENotEnoughMemory {
    std::uint64_t requestedBytes = 0;
    QString message;
};

// "error in TBigByteArray.create: Not enough contiguous memory available\r\n requested memory
// block: <bytes> bytes"
QString notEnoughMemoryMessage(std::uint64_t requestedBytes);

// No allocation limit beyond what the system grants.
constexpr std::uint64_t kNoMemoryLimit = std::numeric_limits<std::uint64_t>::max();

// The one contiguous heap block behind a byte array: count elements of elementSize bytes each,
// content undefined. Counts above the 32-bit element count, blocks above limitBytes and blocks the
// system refuses fail with the true requested size (count x elementSize, never wrapped).
class ByteBlock {
public:
    ByteBlock() = default;

    // Replaces the block. count <= 0 gives an empty block without error. On failure the block
    // is empty, *error (when given) is filled and the result is false.
    bool allocate(std::int64_t count, int elementSize, ENotEnoughMemory* error,
                  std::uint64_t limitBytes = kNoMemoryLimit);
    void release();

    std::int32_t count() const { return count_; }
    std::uint8_t* data() { return data_.get(); }
    const std::uint8_t* data() const { return data_.get(); }

private:
    std::unique_ptr<std::uint8_t[]> data_;
    std::int32_t count_ = 0;
};

} // namespace lumavo
