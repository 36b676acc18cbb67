#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/image/image_test_support.h"

using image_testing::pixelsOf;
using image_testing::RawImage;
using testing::ElementsAre;
using testing::ElementsAreArray;
using testing_support::LogCapture;

TEST(SetAlpha, StampsTruncatedOpacityTimes256AndLogsIt) {
    struct Case {
        float opacity;
        uint32_t expectedAlpha;  // 0xFFFFFFFF: the pixel keeps its own
        const char* log;
    };
    const float notANumber = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {0.5f, 0x80, "0.500000\n"},   {0.999f, 0xFF, "0.999000\n"},  // 255.74 truncates to 255
        {1.0f, 0x00, "1.000000\n"},                                  // 256: its low byte is 0
        {3.0f, 0x00, "1.000000\n"},                                  // above 1 counts as 1
        {0.001f, 0x00, "0.001000\n"}, {0.0f, 0xFFFFFFFF, ""},
        {-1.0f, 0xFFFFFFFF, ""},      {notANumber, 0xFFFFFFFF, ""},
    };
    for (const Case& c : cases) {
        LogCapture log;
        RawImage image(2, 1, {0x12345678, 0x00ABCDEF});
        image.setAlpha(c.opacity);
        const std::vector<uint32_t> expected =
            c.expectedAlpha == 0xFFFFFFFF
                ? std::vector<uint32_t>{0x12345678, 0x00ABCDEF}
                : std::vector<uint32_t>{c.expectedAlpha << 24 | 0x345678, c.expectedAlpha << 24 | 0xABCDEF};
        EXPECT_EQ(pixelsOf(image), expected) << "opacity " << c.opacity;
        EXPECT_EQ(log.textAfterStartLine(), c.log) << "opacity " << c.opacity;
    }
}

TEST(SetAlpha, WithoutPixelsDoesNothing) {
    LogCapture log;
    RawImage image(1, 1, {});
    image.releasePixels();
    image.setAlpha(0.5f);
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(log.textAfterStartLine(), "");
}

TEST(Expand16, PutsEachFiveBitChannelInTheTopOfItsByteAndDropsBit15) {
    RawImage image(7, 1, {});
    // 0x7FFF, 0x8000, 0x7C00, 0x03E0, 0x001F, 0x0421, 0xFFFF, little-endian
    image.expand16(
        std::vector<uint8_t>{0xFF, 0x7F, 0x00, 0x80, 0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x21, 0x04, 0xFF, 0xFF});
    EXPECT_THAT(pixelsOf(image),
                ElementsAre(0x00F8F8F8, 0x00000000, 0x00F80000, 0x0000F800, 0x000000F8, 0x00080808, 0x00F8F8F8));
}

TEST(ExpandPalette, LooksEachIndexUpAsBlueGreenRedWithAlphaZero) {
    std::vector<uint8_t> palette(768, 0xEE);
    palette[15] = 0x10;  // entry 5: blue, green, red
    palette[16] = 0x20;
    palette[17] = 0x30;
    palette[765] = 0x01;  // entry 255
    palette[766] = 0x02;
    palette[767] = 0x03;
    RawImage image(3, 1, {});
    image.expandPalette(std::vector<uint8_t>{5, 255, 5}, palette);
    EXPECT_THAT(pixelsOf(image), ElementsAre(0x00302010, 0x00030201, 0x00302010));
}

TEST(PixelHelpers, PixelsPastShortSourcesAreZero) {
    RawImage image(3, 1, {0xDEADBEEF, 0xDEADBEEF, 0xDEADBEEF});
    image.expand16(std::vector<uint8_t>{0xFF, 0x7F, 0xFF});  // one value and a half
    EXPECT_THAT(pixelsOf(image), ElementsAre(0x00F8F8F8, 0, 0));
    image.expandPalette(std::vector<uint8_t>{1, 2}, std::vector<uint8_t>{0, 0, 0, 1, 2});  // entry 1 incomplete
    EXPECT_THAT(pixelsOf(image), ElementsAre(0, 0, 0));
    image.copy32(std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7});
    EXPECT_THAT(pixelsOf(image), ElementsAre(0x04030201, 0, 0));
}

TEST(FlipVertically, ExchangesRowsAndKeepsTheOrderWithinEach) {
    struct Case {
        uint16_t width;
        uint16_t height;
        std::vector<uint32_t> before;
        std::vector<uint32_t> after;
    };
    const Case cases[] = {
        {3, 1, {1, 2, 3}, {1, 2, 3}},
        {2, 2, {1, 2, 3, 4}, {3, 4, 1, 2}},
        {2, 3, {1, 2, 3, 4, 5, 6}, {5, 6, 3, 4, 1, 2}},  // the middle row stays
        {1, 4, {1, 2, 3, 4}, {4, 3, 2, 1}},
        {0, 3, {}, {}},
    };
    for (const Case& c : cases) {
        RawImage image(c.width, c.height, c.before);
        image.flipVertically();
        EXPECT_THAT(pixelsOf(image), ElementsAreArray(c.after)) << c.width << " x " << c.height;
    }
}

TEST(ReleasePixels, LeavesAnEmptyImage) {
    RawImage image(2, 2, {1, 2, 3, 4});
    image.depth = 32;
    image.releasePixels();
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
}
