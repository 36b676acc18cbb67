#pragma once
// Procedural texture images for the demo scenes. Each tiles seamlessly where
// the scenes repeat it. Pixels are 0xAARRGGBB, row 0 at the top.

#include <cstdint>
#include <functional>

#include "tools/image_writers/image_writers.h"

namespace datas {

struct Colour {
    float r = 0.0f, g = 0.0f, b = 0.0f;
};

Colour mixed(const Colour& a, const Colour& b, float t);
Colour times(const Colour& colour, float factor);
// Channels clamped to 0..1 and packed; alpha likewise.
uint32_t packed(const Colour& colour, float alpha = 1.0f);

// An image of size x size whose pixel (x, y) is paint(x / size, y / size).
image_writers::Image painted(uint16_t size, const std::function<uint32_t(float u, float v)>& paint);

// A tube's surface: a pattern along u, and along v (once round the tube,
// starting at its outer equator, then over the top) the light of a lamp above
// and in front, with a highlight.
image_writers::Image shadedTube(uint16_t size, const Colour& base, const Colour& stripe, uint32_t seed);
// Glowing cracks of molten rock under the same tube light.
image_writers::Image lavaTube(uint16_t size, uint32_t seed);
// Ground cover for the terrain at a light level (0 dark .. 1 lit).
image_writers::Image grass(uint16_t size, float light);
image_writers::Image rock(uint16_t size, float light);
image_writers::Image snow(uint16_t size, float light);
// A night sky: v from below the horizon (0.0) to past the zenith (1.0),
// light at the horizon, deep blue above, a few stars.
image_writers::Image nightSky(uint16_t size);
// Veined polished stone for the columns.
image_writers::Image marble(uint16_t size);
// Stone blocks for the hall's walls.
image_writers::Image wallBlocks(uint16_t size);
// Coffered wooden ceiling panels.
image_writers::Image ceilingPanels(uint16_t size);
// Bronze with engraved rings, for the chandelier.
image_writers::Image bronze(uint16_t size);
// A window pane: clear tinted glass in a leaded frame, alpha < 1 in the glass.
image_writers::Image glassPane(uint16_t size);
// Stained glass in diamonds of colour, mostly translucent.
image_writers::Image stainedGlass(uint16_t size);
// Grey granite, for the plinths (a one-channel JPEG).
image_writers::Image granite(uint16_t size);

// The floor's 8-bit colour-mapped image: indices and 256 palette colours.
struct MappedImage {
    uint16_t size = 0;
    std::vector<uint8_t> indices;
    std::vector<uint32_t> palette;
};
MappedImage floorTiles(uint16_t size);

}  // namespace datas
