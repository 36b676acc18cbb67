#include "image/pixel_conversion.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Convert = void (*)(std::span<const uint32_t>, uint8_t*);

std::vector<uint16_t> converted16(Convert convert, const std::vector<uint32_t>& pixels) {
    std::vector<uint8_t> bytes(pixels.size() * 2 + 1, 0xEE);
    convert(pixels, bytes.data() + 1);  // rows need not be aligned
    EXPECT_EQ(bytes[0], 0xEE);
    std::vector<uint16_t> values(pixels.size());
    std::memcpy(values.data(), bytes.data() + 1, values.size() * 2);
    return values;
}

}  // namespace

TEST(PixelConversion, SixteenBitLayoutsKeepTheTopBitsOfEachChannel) {
    struct Case {
        const char* layout;
        Convert convert;
        std::vector<uint32_t> pixels;
        std::vector<uint16_t> expected;
    };
    const Case cases[] = {
        {"RGB565",
         convertToRgb565,
         {0x00FFFFFF, 0x00FF0000, 0x00000800, 0xFF07FC07, 0x00000000},
         {0xFFFF, 0xF800, 0x0040, 0x07E0, 0x0000}},
        {"RGB555",
         convertToRgb555,
         {0x00FFFFFF, 0x00080808, 0xFFFF0000, 0x0000F800, 0x000000F8, 0x00070707},
         {0x7FFF, 0x0421, 0x7C00, 0x03E0, 0x001F, 0x0000}},
        {"ARGB4444",
         convertToArgb4444,
         {0x80FF8000, 0xFFFFFFFF, 0x0FFFFFFF, 0x10000000, 0x00F0F0F0},
         {0x8F80, 0xFFFF, 0x0FFF, 0x1000, 0x0FFF}},
    };
    for (const Case& c : cases) EXPECT_EQ(converted16(c.convert, c.pixels), c.expected) << c.layout;
}

TEST(PixelConversion, ThirtyTwoBitCopiesEveryPixelUnchanged) {
    const std::vector<uint32_t> pixels = {0x80FF8000, 0x00000001, 0xFFFFFFFF};
    std::vector<uint32_t> surface(3);
    copyArgb32(pixels, reinterpret_cast<uint8_t*>(surface.data()));
    EXPECT_EQ(surface, pixels);
}
