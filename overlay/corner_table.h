#pragma once
// One corner of an overlay over its life: entry j is the corner on the j-th
// frame the overlay is shown.

#include <cstdint>
#include <vector>

struct CornerEntry {
    float x;          // fraction of the display width: 0 left edge, 1 right edge
    float y;          // fraction of the display height: 0 top, 1 bottom
    uint32_t colour;  // packed 0xAARRGGBB
};
static_assert(sizeof(CornerEntry) == 12, "a corner entry is 12 bytes");

// A corner's colour at full strength.
constexpr uint32_t opaqueWhite = 0xFFFFFFFF;

// Exactly duration entries once allocated; empty for an overlay never drawn.
using CornerTable = std::vector<CornerEntry>;
