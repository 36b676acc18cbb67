#pragma once
// One row of 0xAARRGGBB pixels written in a texture surface's layout. Every
// channel keeps its top bits (truncation: no rounding, no dithering); 16-bit
// values are stored in the machine's byte order, as the surface expects.

#include <cstdint>
#include <span>

// 0RRRRRGGGGGBBBBB
void convertToRgb555(std::span<const uint32_t> source, uint8_t* destination);
// RRRRRGGGGGGBBBBB
void convertToRgb565(std::span<const uint32_t> source, uint8_t* destination);
// AAAARRRRGGGGBBBB
void convertToArgb4444(std::span<const uint32_t> source, uint8_t* destination);
// The 32-bit pixels as they are.
void copyArgb32(std::span<const uint32_t> source, uint8_t* destination);
