#include "compose/dynarray32.h"

namespace lumavo::dynarray32 {

bool TBigByteArray::create(std::int64_t count, ENotEnoughMemory* error, std::uint64_t limitBytes)
{
    return block_.allocate(count, kElementSize, error, limitBytes);
}

std::uint32_t TBigByteArray::Get(std::int64_t i) const
{
    if (i < 1 || i > count())
        return 0;
    const std::uint8_t* p = block_.data() + (i - 1) * kElementSize;
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16)
        | (std::uint32_t{p[3]} << 24);
}

void TBigByteArray::Put(std::int64_t i, std::uint32_t value)
{
    if (i < 1 || i > count())
        return;
    std::uint8_t* p = block_.data() + (i - 1) * kElementSize;
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    p[2] = static_cast<std::uint8_t>(value >> 16);
    p[3] = static_cast<std::uint8_t>(value >> 24);
}

} // namespace lumavo::dynarray32
