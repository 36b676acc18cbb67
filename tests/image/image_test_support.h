#pragma once
// Helpers for the image tests: image files in a scratch directory and pixel
// arrays to compare.

#include <cstdint>
#include <string>
#include <vector>

#include "image/image_loader.h"
#include "tests/support/byte_writer.h"
#include "tests/support/test_support.h"

namespace image_testing {

using Bytes = std::vector<uint8_t>;

// Files written into a directory of their own, removed at the end of the scope.
class ImageFiles {
public:
    std::string path(const std::string& name) const { return (directory / name).string(); }
    std::string write(const std::string& name, const Bytes& bytes) const {
        testing_support::writeFile(path(name), bytes);
        return path(name);
    }

private:
    testing_support::ScratchDirectory directory;
};

inline std::vector<uint32_t> pixelsOf(const ImageLoader& image) {
    if (!image.pixels) return {};
    return std::vector<uint32_t>(image.pixels.get(), image.pixels.get() + image.pixelCount());
}

// Loads bytes written as a file of that name; the loader's result.
template <typename Loader>
int loadBytes(Loader& loader, const Bytes& bytes, const std::string& name) {
    ImageFiles files;
    return loader.load(files.write(name, bytes).c_str());
}

// An image set up in memory, to exercise the pixel operations of the family.
class RawImage : public ImageLoader {
public:
    RawImage(uint16_t imageWidth, uint16_t imageHeight, const std::vector<uint32_t>& values) {
        width = imageWidth;
        height = imageHeight;
        pixels = std::make_unique<uint32_t[]>(pixelCount());
        std::copy(values.begin(), values.end(), pixels.get());
    }
    int load(const char*) override { return 0; }
};

// An 18-byte TGA header followed by data: only width, height and depth matter.
inline Bytes tga(uint16_t width, uint16_t height, uint8_t depth, const Bytes& data = {}) {
    Bytes file = testing_support::ByteWriter().chars(std::string(12, '\0')).int16(width).int16(height).data();
    file.insert(file.end(), {depth, 0});
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

}  // namespace image_testing
