#pragma once
// Helpers for the image tests: image files in a scratch directory and pixel
// arrays to compare.

#include <cstdint>
#include <string>
#include <vector>

#include "image/image_loader.h"
#include "tests/support/test_support.h"

namespace image_testing {

using Bytes = std::vector<uint8_t>;

// Files written into a directory of their own, removed at the end of the scope.
class ImageFiles {
public:
    std::string write(const std::string& name, const Bytes& bytes) const {
        const std::string path = (directory / name).string();
        testing_support::writeFile(path, bytes);
        return path;
    }
    std::string path(const std::string& name) const { return (directory / name).string(); }

private:
    testing_support::ScratchDirectory directory;
};

inline std::vector<uint32_t> pixelsOf(const ImageLoader& image) {
    if (!image.pixels) return {};
    return std::vector<uint32_t>(image.pixels.get(), image.pixels.get() + image.pixelCount());
}

// An image set up in memory, to exercise the pixel operations of the family.
class RawImage : public ImageLoader {
public:
    RawImage(uint16_t imageWidth, uint16_t imageHeight, const std::vector<uint32_t>& values) {
        width = imageWidth;
        height = imageHeight;
        pixels = std::make_unique<uint32_t[]>(pixelCount());
        for (size_t i = 0; i < values.size() && i < pixelCount(); ++i) pixels[i] = values[i];
    }
    int load(const char*) override { return 0; }
};

// An 18-byte TGA header: only width, height and depth matter to the loader.
inline Bytes tgaHeader(uint16_t width, uint16_t height, uint8_t depth) {
    Bytes header(18, 0);
    header[2] = depth == 8 ? 1 : 2;
    header[12] = static_cast<uint8_t>(width);
    header[13] = static_cast<uint8_t>(width >> 8);
    header[14] = static_cast<uint8_t>(height);
    header[15] = static_cast<uint8_t>(height >> 8);
    header[16] = depth;
    return header;
}

inline Bytes operator+(Bytes first, const Bytes& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

}  // namespace image_testing
