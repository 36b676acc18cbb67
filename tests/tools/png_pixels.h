#pragma once
// The pixels of a PNG frame that a tool wrote, as the tools' tests compare them.

#include <png.h>

#include <cstdint>
#include <filesystem>
#include <vector>

// RGB, 8 bits a channel, row 0 first; empty when the file cannot be read.
inline std::vector<uint8_t> pngPixels(const std::filesystem::path& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.c_str())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    return pixels;
}
