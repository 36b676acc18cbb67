#include "tools/capture/yuv_frame.h"

#include <algorithm>

namespace capture {

namespace {

// Coefficients scaled by 65536, results rounded: Y = 16 + 0.256788 R +
// 0.504129 G + 0.097906 B, and the colour differences likewise.
uint8_t luma(int r, int g, int b) {
    return static_cast<uint8_t>((16829 * r + 33039 * g + 6416 * b + (1 << 15) + (16 << 16)) >> 16);
}
// From sums of four pixels: the average is folded into the shift.
uint8_t blueDifference(int r, int g, int b) {
    return static_cast<uint8_t>((-9714 * r - 19071 * g + 28784 * b + (1 << 17) + (128 << 18)) >> 18);
}
uint8_t redDifference(int r, int g, int b) {
    return static_cast<uint8_t>((28784 * r - 24103 * g - 4681 * b + (1 << 17) + (128 << 18)) >> 18);
}

}  // namespace

std::vector<uint8_t> yuv420(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb) {
    const size_t chromaWidth = (width + 1) / 2, chromaHeight = (height + 1) / 2;
    const size_t lumaSize = size_t(width) * height, chromaSize = chromaWidth * chromaHeight;
    std::vector<uint8_t> planes(lumaSize + 2 * chromaSize);
    for (size_t k = 0; k < lumaSize; ++k) planes[k] = luma(rgb[3 * k], rgb[3 * k + 1], rgb[3 * k + 2]);
    for (size_t cy = 0; cy < chromaHeight; ++cy)
        for (size_t cx = 0; cx < chromaWidth; ++cx) {
            int r = 0, g = 0, b = 0;
            // The 2 x 2 block, edge pixels repeated where the size is odd.
            for (size_t dy = 0; dy < 2; ++dy)
                for (size_t dx = 0; dx < 2; ++dx) {
                    const size_t x = std::min<size_t>(2 * cx + dx, width - 1), y = std::min<size_t>(2 * cy + dy, height - 1);
                    const uint8_t* pixel = &rgb[3 * (y * width + x)];
                    r += pixel[0];
                    g += pixel[1];
                    b += pixel[2];
                }
            planes[lumaSize + cy * chromaWidth + cx] = blueDifference(r, g, b);
            planes[lumaSize + chromaSize + cy * chromaWidth + cx] = redDifference(r, g, b);
        }
    return planes;
}

}  // namespace capture
