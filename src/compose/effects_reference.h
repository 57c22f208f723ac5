#pragma once

// The effects written plainly, pixel by pixel, with the filter's scratch copies held in the byte
// arrays: the model the row-based forms in effects.h must match bit for bit. Used by the tests
// and by the benchmarks as the baseline; not on any hot path.

#include "compose/byte_block.h"
#include "platform/bitmap.h"

#include <optional>

namespace lumavo::effects_reference {

// As lumavo::Filter24/Filter32 (the bitmap must be 24- or 32-bit respectively). The error of the
// scratch arrays when they cannot be had (limitBytes caps each one), the bitmap then untouched.
std::optional<ENotEnoughMemory> Filter24(Bitmap& bitmap, std::uint64_t limitBytes = kNoMemoryLimit);
std::optional<ENotEnoughMemory> Filter32(Bitmap& bitmap, std::uint64_t limitBytes = kNoMemoryLimit);

// As lumavo::Gradient24/Gradient32, one pixel at a time.
void Gradient24(Bitmap& bitmap, Color start, Color end);
void Gradient32(Bitmap& bitmap);

} // namespace lumavo::effects_reference
