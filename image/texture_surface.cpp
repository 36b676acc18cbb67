#include "image/texture_surface.h"

#include <algorithm>

bool hasAlpha(const ImageLoader& loader) {
    if (!loader.pixels) return false;
    const uint32_t* first = loader.pixels.get();
    return std::any_of(first, first + loader.pixelCount(), [](uint32_t pixel) { return pixel > 0x00FFFFFF; });
}
