#pragma once

#include <cstdint>

namespace lumavo {

// A colour as 0x00BBGGRR: red in bits 0-7, green 8-15, blue 16-23. Black (0) is the key colour.
using Color = std::uint32_t;

constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;

constexpr std::uint8_t redOf(Color c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t greenOf(Color c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t blueOf(Color c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }
constexpr Color rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}

} // namespace lumavo
