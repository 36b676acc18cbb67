#include "image/tga_loader.h"

#include <algorithm>

#include "base/log.h"
#include "image/byte_cursor.h"

namespace {

constexpr size_t headerSize = 18;  // width at 12, height at 14, depth at 16, descriptor at 17

}  // namespace

int TgaLoader::load(const char* fileName) {
    file = openImageFile(fileName, "rb");
    if (!file) return 0;
    logWrite2("loading texture : ", fileName);
    readHeader();
    readPixels();
    flipVertically();
    file.reset();
    return 1;
}

// A header cut short reads as zeros past its end.
void TgaLoader::readHeader() {
    const std::vector<uint8_t> bytes = readUpTo(file.get(), headerSize);
    ByteCursor header(bytes);
    header.skip(12);
    width = header.uint16();
    height = header.uint16();
    depth = header.uint8();
    logFormat("texture depth : %d\n", depth);
    allocatePixels();
}

void TgaLoader::readPixels() {
    const size_t count = pixelCount();
    switch (depth) {
        case 8: {
            const std::vector<uint8_t> palette = readUpTo(file.get(), paletteSize);
            expandPalette(readUpTo(file.get(), count), palette);
            break;
        }
        case 16: expand16(readUpTo(file.get(), 2 * count)); break;
        case 24: expand24(readUpTo(file.get(), 3 * count)); break;
        case 32: copy32(readUpTo(file.get(), 4 * count)); break;
        default: clearFrom(0);
    }
}

void TgaLoader::expand24(std::span<const uint8_t> source) {
    const size_t available = std::min(pixelCount(), source.size() / 3);
    for (size_t i = 0; i < available; ++i) {
        const uint8_t* bgr = &source[3 * i];
        pixels[i] = uint32_t{bgr[2]} << 16 | uint32_t{bgr[1]} << 8 | bgr[0];
    }
    clearFrom(available);
}
