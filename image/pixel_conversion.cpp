#include "image/pixel_conversion.h"

#include <cstring>

namespace {

// The surface's rows need not be aligned for 16-bit stores: memcpy makes the
// store well defined and compiles to a plain one.
template <typename Convert>
void convert16(std::span<const uint32_t> source, uint8_t* destination, Convert convert) {
    for (size_t i = 0; i < source.size(); ++i) {
        const uint16_t value = convert(source[i]);
        std::memcpy(destination + 2 * i, &value, sizeof value);
    }
}

}  // namespace

void convertToRgb555(std::span<const uint32_t> source, uint8_t* destination) {
    convert16(source, destination, [](uint32_t p) {
        return static_cast<uint16_t>((p >> 9 & 0x7C00) | (p >> 6 & 0x03E0) | (p >> 3 & 0x001F));
    });
}

void convertToRgb565(std::span<const uint32_t> source, uint8_t* destination) {
    convert16(source, destination, [](uint32_t p) {
        return static_cast<uint16_t>((p >> 8 & 0xF800) | (p >> 5 & 0x07E0) | (p >> 3 & 0x001F));
    });
}

void convertToArgb4444(std::span<const uint32_t> source, uint8_t* destination) {
    convert16(source, destination, [](uint32_t p) {
        return static_cast<uint16_t>((p >> 16 & 0xF000) | (p >> 12 & 0x0F00) | (p >> 8 & 0x00F0) | (p >> 4 & 0x000F));
    });
}

void copyArgb32(std::span<const uint32_t> source, uint8_t* destination) {
    std::memcpy(destination, source.data(), source.size_bytes());
}
