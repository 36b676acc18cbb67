#pragma once
// What kvor-inspect image makes of decoded pixels.

#include <filesystem>
#include <string>

#include "image/image_loader.h"

// SHA-256, in lower-case hex, of the pixels as 0xAARRGGBB values stored
// little-endian (blue, green, red, alpha), row 0 first.
std::string argbSha256(const ImageLoader& image);

// An 8-bit RGBA PNG of the pixels, alpha as stored; false with a reason in error
// when it cannot be written (an empty image has no PNG).
bool writeRgbaPng(const std::filesystem::path& path, const ImageLoader& image, std::string& error);
