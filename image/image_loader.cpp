#include "image/image_loader.h"

#include <algorithm>
#include <array>
#include <new>

#include "base/fatal.h"
#include "base/log.h"
#include "base/uninitialised_array.h"

void ImageLoader::releasePixels() {
    pixels.reset();
    width = 0;
    height = 0;
}

void ImageLoader::setAlpha(float opacity) {
    if (!pixels) return;
    if (opacity > 1.0f)
        opacity = 1.0f;
    else if (!(opacity > 0.0f))
        return;
    logFormat("%f\n", opacity);
    // The scale is 256, not 255: an opacity of 1 gives 256, whose low byte is 0,
    // and the image then counts as carrying no alpha at all.
    const uint32_t alpha = static_cast<uint32_t>(static_cast<int>(opacity * 256.0f) & 0xFF) << 24;
    for (size_t i = 0, count = pixelCount(); i < count; ++i) pixels[i] = alpha | (pixels[i] & 0x00FFFFFF);
}

void ImageLoader::expandPalette(std::span<const uint8_t> indices, std::span<const uint8_t> palette) {
    std::array<uint32_t, 256> colours{};  // entries past a short palette stay 0
    for (size_t entry = 0; entry < colours.size() && entry * 3 + 2 < palette.size(); ++entry) {
        const uint8_t* bgr = &palette[entry * 3];
        colours[entry] = uint32_t{bgr[2]} << 16 | uint32_t{bgr[1]} << 8 | bgr[0];
    }
    const size_t count = pixelCount();
    const size_t available = std::min(count, indices.size());
    for (size_t i = 0; i < available; ++i) pixels[i] = colours[indices[i]];
    clearFrom(available);
}

void ImageLoader::expand16(std::span<const uint8_t> source) {
    const size_t count = pixelCount();
    const size_t available = std::min(count, source.size() / 2);
    for (size_t i = 0; i < available; ++i) {
        const uint32_t value = source[2 * i] | uint32_t{source[2 * i + 1]} << 8;
        pixels[i] = (value & 0x7C00) << 9 | (value & 0x03E0) << 6 | (value & 0x001F) << 3;
    }
    clearFrom(available);
}

void ImageLoader::copy32(std::span<const uint8_t> source) {
    const size_t count = pixelCount();
    const size_t available = std::min(count, source.size() / 4);
    for (size_t i = 0; i < available; ++i) {
        const uint8_t* bgra = &source[4 * i];
        pixels[i] = uint32_t{bgra[3]} << 24 | uint32_t{bgra[2]} << 16 | uint32_t{bgra[1]} << 8 | bgra[0];
    }
    clearFrom(available);
}

void ImageLoader::flipVertically() {
    if (!pixels) return;
    uint32_t* const image = pixels.get();
    for (size_t top = 0; top < height / 2u; ++top) {
        uint32_t* const row = image + top * width;
        std::swap_ranges(row, row + width, image + (height - 1 - top) * width);
    }
}

void ImageLoader::clearFrom(size_t first) { std::fill(pixels.get() + first, pixels.get() + pixelCount(), 0u); }

void ImageLoader::allocatePixels() {
    if (pixelCount() > pixelLimit) fatalError(0);
    try {
        pixels = uninitialisedArray<uint32_t>(pixelCount());
    } catch (const std::bad_alloc&) {
        fatalError(0);
    }
}
