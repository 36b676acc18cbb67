#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

#include "tests/image/image_test_support.h"

using image_testing::pixelsOf;
using image_testing::RawImage;
using testing_support::LogCapture;

TEST(SetAlpha, StampsTruncatedOpacityTimes256AndLogsIt) {
    struct Case {
        float opacity;
        uint32_t alpha;  // none: the pixels keep their own
        const char* log;
    };
    const uint32_t none = 0xFFFFFFFF;
    const Case cases[] = {
        {0.5f, 0x80, "0.500000\n"},
        {0.999f, 0xFF, "0.999000\n"},  // 255.74 truncates to 255
        {1.0f, 0x00, "1.000000\n"},    // 256, whose low byte is 0
        {3.0f, 0x00, "1.000000\n"},
        {0.001f, 0x00, "0.001000\n"},
        {0.0f, none, ""},
        {-1.0f, none, ""},
        {std::numeric_limits<float>::quiet_NaN(), none, ""},
    };
    for (const Case& c : cases) {
        LogCapture log;
        RawImage image(2, 1, {0x12345678, 0x00ABCDEF});
        image.setAlpha(c.opacity);
        const std::vector<uint32_t> expected =
            c.alpha == none ? std::vector<uint32_t>{0x12345678, 0x00ABCDEF}
                            : std::vector<uint32_t>{c.alpha << 24 | 0x345678, c.alpha << 24 | 0xABCDEF};
        EXPECT_EQ(pixelsOf(image), expected) << "opacity " << c.opacity;
        EXPECT_EQ(log.textAfterStartLine(), c.log) << "opacity " << c.opacity;
    }
}

TEST(FlipVertically, ExchangesRowsAndKeepsTheOrderWithinEach) {
    struct Case {
        uint16_t width, height;
        std::vector<uint32_t> before, after;
    };
    const Case cases[] = {
        {3, 1, {1, 2, 3}, {1, 2, 3}},
        {2, 2, {1, 2, 3, 4}, {3, 4, 1, 2}},
        {2, 3, {1, 2, 3, 4, 5, 6}, {5, 6, 3, 4, 1, 2}},  // the middle row stays
        {0, 3, {}, {}},
    };
    for (const Case& c : cases) {
        RawImage image(c.width, c.height, c.before);
        image.flipVertically();
        EXPECT_EQ(pixelsOf(image), c.after) << c.width << " x " << c.height;
    }
}
