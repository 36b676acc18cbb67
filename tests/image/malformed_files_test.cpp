// Missing files and files cut short at every offset: the loaders never read
// past the data, and every pixel they could not read is 0.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "image/jpeg_loader.h"
#include "image/tga_loader.h"
#include "image/zkv_loader.h"
#include "tests/image/image_test_support.h"
#include "tools/image_writers/image_writers.h"

using image_testing::Bytes;
using image_testing::loadBytes;
using image_testing::pixelsOf;

namespace {

// 3 x 2 pixels, each distinct, each with a non-zero alpha.
const image_writers::Image sample{3, 2, {0x81112233, 0x82445566, 0x83778899, 0x84AABBCC, 0x85DDEEFF, 0x86102030}};

// What a loader gives when only the first `available` stored pixels (bottom
// row first) are in the file, each masked to the bits the format keeps.
std::vector<uint32_t> expectedFromPrefix(size_t available, uint32_t mask) {
    std::vector<uint32_t> expected(sample.argb.size(), 0);
    for (size_t stored = 0; stored < std::min(available, expected.size()); ++stored) {
        const size_t index = (sample.height - 1 - stored / sample.width) * sample.width + stored % sample.width;
        expected[index] = sample.argb[index] & mask;
    }
    return expected;
}

template <typename Loader>
std::vector<uint32_t> loadPrefix(const Bytes& file, size_t length, const char* name) {
    Loader loader;
    EXPECT_EQ(loadBytes(loader, Bytes(file.begin(), file.begin() + length), name), 1) << length;
    return pixelsOf(loader);
}

}  // namespace

TEST(MalformedFiles, MissingFilesReturnZeroWithNothingLoggedOrAllocated) {
    testing_support::LogCapture log;
    image_testing::ImageFiles files;
    TgaLoader tga;
    JpegLoader jpeg;
    ZkvLoader zkv;
    for (ImageLoader* loader : std::initializer_list<ImageLoader*>{&tga, &jpeg, &zkv}) {
        EXPECT_EQ(loader->load(files.path("absent").c_str()), 0);
        EXPECT_EQ(loader->pixels, nullptr);
    }
    EXPECT_EQ(log.textAfterStartLine(), "");
}

TEST(MalformedFiles, CutAtEveryOffsetKeepsWhatWasRead) {
    for (const auto& [depth, mask] : {std::pair{16, 0x00F8F8F8u}, {24, 0x00FFFFFFu}, {32, 0xFFFFFFFFu}}) {
        const Bytes file = image_writers::tgaTrueColour(sample, depth);
        for (size_t length = 18; length <= file.size(); ++length)
            EXPECT_EQ(loadPrefix<TgaLoader>(file, length, "cut.tga"),
                      expectedFromPrefix((length - 18) * 8 / depth, mask))
                << "depth " << depth << ", " << length;
    }
    const Bytes body = image_writers::zkvBody(sample, 32, true);
    const size_t alphaPlane = 17 + 6 * 4 + 8;
    for (size_t length = 17; length <= body.size(); ++length) {
        std::vector<uint32_t> expected = expectedFromPrefix((std::min(length, alphaPlane) - 17) / 4, 0x00FFFFFF);
        for (size_t i = alphaPlane; i < length; ++i)
            expected[i - alphaPlane] |= sample.argb[i - alphaPlane] & 0xFF000000;
        EXPECT_EQ(loadPrefix<ZkvLoader>(body, length, "cut.zkv"), expected) << length;
    }
}

TEST(MalformedFiles, JpegCutAtEveryOffsetNeverLeavesUnwrittenPixels) {
    const Bytes file = image_writers::jpeg(16, 16, Bytes(16 * 16 * 3, 0xC0), 3, 75);
    testing::internal::CaptureStdout();
    for (size_t length = 0; length <= file.size(); ++length) {
        JpegLoader loader;
        const int loaded = loadBytes(loader, Bytes(file.begin(), file.begin() + length), "cut.jpg");
        EXPECT_TRUE(loaded || !loader.pixels || pixelsOf(loader) == std::vector<uint32_t>(256, 0)) << length;
    }
    testing::internal::GetCapturedStdout();
}
