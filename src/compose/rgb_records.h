#pragma once

#include <cstdint>

namespace lumavo {

// One pixel of a 24-bit scan line: blue, green, red.
struct RGBTRIPLE {
    std::uint8_t rgbtBlue = 0;
    std::uint8_t rgbtGreen = 0;
    std::uint8_t rgbtRed = 0;
    friend constexpr bool operator==(const RGBTRIPLE&, const RGBTRIPLE&) = default;
};

// One pixel of a 32-bit scan line: blue, green, red, reserved.
struct RGBQUAD {
    std::uint8_t rgbBlue = 0;
    std::uint8_t rgbGreen = 0;
    std::uint8_t rgbRed = 0;
    std::uint8_t rgbReserved = 0;
    friend constexpr bool operator==(const RGBQUAD&, const RGBQUAD&) = default;
};

static_assert(sizeof(RGBTRIPLE) == 3 && sizeof(RGBQUAD) == 4);

} // namespace lumavo
