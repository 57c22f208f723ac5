#include "compose/dynarray.h"

namespace lumavo::dynarray {

bool TBigByteArray::create(std::int64_t count, ENotEnoughMemory* error, std::uint64_t limitBytes)
{
    return block_.allocate(count, kElementSize, error, limitBytes);
}

void TBigByteArray::Get(std::int64_t i, RGBTRIPLE& value) const
{
    if (i < 1 || i > count())
        return;
    const std::uint8_t* p = block_.data() + (i - 1) * kElementSize;
    value.rgbtBlue = p[0];
    value.rgbtGreen = p[1];
    value.rgbtRed = p[2];
}

void TBigByteArray::Put(std::int64_t i, std::uint32_t value)
{
    if (i < 1 || i > count())
        return;
    std::uint8_t* p = block_.data() + (i - 1) * kElementSize;
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    p[2] = static_cast<std::uint8_t>(value >> 16);
}

} // namespace lumavo::dynarray
