#pragma once
// The image loader family: each loader reads one file into width x height
// pixels 0xAARRGGBB (blue in the low byte, so the bytes in memory are blue,
// green, red, alpha, a 32-bit TGA's order), row 0 at the top.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "image/file_bytes.h"

// A palette of 256 entries of blue, green, red.
constexpr size_t paletteSize = 768;

// The largest image we agree to allocate, in pixels.
constexpr size_t maximumPixelCount = size_t{16384} * 16384;

class ImageLoader {
public:
    ImageLoader() = default;
    virtual ~ImageLoader() = default;
    ImageLoader(const ImageLoader&) = delete;
    ImageLoader& operator=(const ImageLoader&) = delete;

    // 1 when the image has been read; 0 when the file cannot be opened.
    virtual int load(const char* fileName) = 0;

    void releasePixels();
    // Stamps trunc(opacity x 256), low byte, into every alpha byte; an opacity of
    // 0 or less (or NaN) keeps the file's alpha, above 1 counts as 1.
    void setAlpha(float opacity);
    // Pixel i becomes palette entry indices[i] (768 bytes: blue, green, red).
    void expandPalette(std::span<const uint8_t> indices, std::span<const uint8_t> palette);
    // Little-endian X1R5G5B5 values; each channel lands in the top 5 bits of its byte.
    void expand16(std::span<const uint8_t> source);
    // Blue, green, red, alpha bytes, copied as they are.
    void copy32(std::span<const uint8_t> source);
    void flipVertically();

    size_t pixelCount() const { return size_t{width} * height; }

    // The largest image this loader agrees to allocate, in pixels.
    size_t pixelLimit = maximumPixelCount;

    std::unique_ptr<uint32_t[]> pixels;  // null until a load allocates it
    uint16_t height = 0;
    uint16_t width = 0;
    uint8_t depth = 0;  // bits per pixel of the source data
    FileHandle file;    // open only during a load

protected:
    // Allocates width x height pixels, uninitialised: every decoder writes them
    // all, with 0 for those the file does not hold. An image over pixelLimit
    // pixels, or that cannot be allocated, is the out-of-memory fatal stop.
    void allocatePixels();
    // Pixels from first on were not in the file: they are 0.
    void clearFrom(size_t first);
};

