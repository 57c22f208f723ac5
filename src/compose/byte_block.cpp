#include "compose/byte_block.h"

#include <new>

namespace lumavo {

QString notEnoughMemoryMessage(std::uint64_t requestedBytes)
{
    return QStringLiteral("error in TBigByteArray.create: Not enough contiguous memory available\r\n"
                          " requested memory block: ")
        + QString::number(requestedBytes) + QStringLiteral(" bytes");
}

bool ByteBlock::allocate(std::int64_t count, int elementSize, ENotEnoughMemory* error,
                         std::uint64_t limitBytes)
{
    release();
    if (count <= 0 || elementSize <= 0)
        return true;
    // count is at most 2^63 and elementSize small, so the product is exact in 128 bits; anything
    // above 64 bits or the 32-bit element count is refused before asking the system.
    const unsigned __int128 bytes = static_cast<unsigned __int128>(count) * static_cast<unsigned>(elementSize);
    const bool fits = count <= std::numeric_limits<std::int32_t>::max()
        && bytes <= limitBytes && bytes <= std::numeric_limits<std::size_t>::max();
    std::uint8_t* block = fits ? new (std::nothrow) std::uint8_t[static_cast<std::size_t>(bytes)] : nullptr;
    if (block == nullptr) {
        if (error != nullptr) {
            const std::uint64_t shown = bytes > std::numeric_limits<std::uint64_t>::max()
                ? std::numeric_limits<std::uint64_t>::max() : static_cast<std::uint64_t>(bytes);
            *error = ENotEnoughMemory{shown, notEnoughMemoryMessage(shown)};
        }
        return false;
    }
    data_.reset(block);
    count_ = static_cast<std::int32_t>(count);
    return true;
}

void ByteBlock::release()
{
    data_.reset();
    count_ = 0;
}

} // namespace lumavo
