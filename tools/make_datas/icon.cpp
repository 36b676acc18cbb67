#include "tools/make_datas/icon.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "tools/make_datas/texture_painter.h"
#include "tools/make_datas/title_images.h"

namespace datas {
namespace {

constexpr float pi = 3.14159265f;

// Coverage of the tile, a square with rounded corners, at the pixel centre (x, y)
// in units of the icon's size.
float tileCoverage(float x, float y, float pixel) {
    const float radius = 0.18f, margin = 0.04f;
    const float dx = std::max({margin + radius - x, x - (1.0f - margin - radius), 0.0f});
    const float dy = std::max({margin + radius - y, y - (1.0f - margin - radius), 0.0f});
    const float outside = std::sqrt(dx * dx + dy * dy) - radius;
    return std::clamp(0.5f - outside / pixel, 0.0f, 1.0f);
}

// The torus seen from above and a little in front: the brightness of its
// surface at (x, y), lit from the upper left, or a negative value off it.
float torusShade(float x, float y) {
    const float cx = 0.5f, cy = 0.5f, major = 0.27f, minor = 0.1f;
    const float dx = x - cx, dy = (y - cy) / 0.8f;
    const float distance = std::sqrt(dx * dx + dy * dy);
    const float across = (distance - major) / minor;
    if (std::fabs(across) >= 1.0f) return -1.0f;
    // The tube's normal: outward along the ring's radius, up out of the picture.
    const float up = std::sqrt(1.0f - across * across);
    const float angle = std::atan2(dy, dx);
    const float nx = across * std::cos(angle), ny = across * std::sin(angle);
    const float light = std::max(0.0f, -0.45f * nx - 0.55f * ny + 0.7f * up);
    return 0.25f + 0.75f * light;
}

}  // namespace

image_writers::Image drawIcon(int size, const std::filesystem::path& fontDirectory) {
    if (size < 16 || size > 1024) throw std::runtime_error("an icon is 16 to 1024 pixels square");
    const uint16_t side = static_cast<uint16_t>(size);
    const TitleImage letter{
        "", side, side, {{"k", "DejaVuSans-Bold.ttf", 0.62f}}, {1.0f, 0.95f, 0.85f}, {0.8f, 0.3f, 0.05f}};
    const image_writers::Image title = renderTitle(letter, fontDirectory);
    const Colour fog{0.0f, 0.19f, 0.22f}, ring{0.2f, 0.75f, 0.85f};
    image_writers::Image icon{side, side, std::vector<uint32_t>(size_t(side) * side)};
    const float pixel = 1.0f / size;
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            const float x = (column + 0.5f) * pixel, y = (row + 0.5f) * pixel;
            Colour colour = times(fog, 1.0f - 0.5f * y);
            if (const float shade = torusShade(x, y); shade >= 0.0f) colour = times(ring, shade);
            // Title images are light on black and add to what is under them.
            const uint32_t added = title.argb[size_t(row) * side + column];
            colour.r += ((added >> 16) & 0xFF) / 255.0f;
            colour.g += ((added >> 8) & 0xFF) / 255.0f;
            colour.b += (added & 0xFF) / 255.0f;
            icon.argb[size_t(row) * side + column] = packed(colour, tileCoverage(x, y, pixel));
        }
    }
    return icon;
}

void writePng(const std::filesystem::path& path, const image_writers::Image& image) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file) throw std::runtime_error("cannot write " + path.string());
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("cannot write " + path.string());
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(size_t(image.width) * 4);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const uint32_t argb = image.argb[size_t(y) * image.width + x];
            row[size_t(x) * 4 + 0] = png_byte(argb >> 16);
            row[size_t(x) * 4 + 1] = png_byte(argb >> 8);
            row[size_t(x) * 4 + 2] = png_byte(argb);
            row[size_t(x) * 4 + 3] = png_byte(argb >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
}

}  // namespace datas
