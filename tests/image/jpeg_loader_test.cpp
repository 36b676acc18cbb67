#include "image/jpeg_loader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/image/image_test_support.h"
#include "tools/image_writers/image_writers.h"

using image_testing::Bytes;
using image_testing::ImageFiles;
using image_testing::loadBytes;
using image_testing::pixelsOf;
using testing::Each;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;
using testing_support::LogCapture;

namespace {

// Left half red, right half blue, in halves wide enough that the smoothing
// across block edges leaves the middle of each alone.
Bytes redThenBlue() {
    image_writers::Image image{32, 16, std::vector<uint32_t>(32 * 16)};
    for (size_t i = 0; i < image.argb.size(); ++i) image.argb[i] = i % 32 < 16 ? 0x00FF0000 : 0x000000FF;
    return image_writers::jpeg(32, 16, image_writers::rgbSamples(image), 3, 100);
}

// Colour conversion may leave each channel a step or two off; alpha is exact.
void expectColourNear(uint32_t pixel, uint32_t expected) {
    for (int shift : {16, 8, 0}) EXPECT_NEAR(pixel >> shift & 0xFF, expected >> shift & 0xFF, 2) << std::hex << pixel;
    EXPECT_EQ(pixel >> 24, 0u);
}

}  // namespace

TEST(JpegLoader, DecodesColourAndGreyAsRgbWithAlphaZeroPrintingTheSize) {
    LogCapture log;
    JpegLoader colour, grey;
    CaptureStdout();
    EXPECT_EQ(loadBytes(colour, redThenBlue(), "colours.jpg"), 1);
    EXPECT_EQ(GetCapturedStdout(), "32 16");
    EXPECT_EQ(colour.depth, 24);
    EXPECT_EQ(colour.rgbBuffer, nullptr);
    expectColourNear(colour.pixels[4 * 32 + 4], 0x00FF0000);
    expectColourNear(colour.pixels[12 * 32 + 27], 0x000000FF);
    CaptureStdout();
    EXPECT_EQ(loadBytes(grey, image_writers::jpeg(8, 8, Bytes(64, 0x80), 1, 100), "grey.jpg"), 1);
    GetCapturedStdout();
    EXPECT_THAT(pixelsOf(grey), Each(0x00808080u));
    EXPECT_EQ(log.textAfterStartLine(), "");
}

TEST(JpegLoader, TruncatedFileIsUsedWithOneWarningWithoutNewline) {
    Bytes cut = redThenBlue();
    const uint8_t startOfScan[] = {0xFF, 0xDA};
    const auto scan = std::search(cut.begin(), cut.end(), std::begin(startOfScan), std::end(startOfScan));
    cut.resize(static_cast<size_t>(scan - cut.begin()) + 20);  // into the entropy-coded data
    ImageFiles files;
    const std::string name = files.write("cut.jpg", cut);
    LogCapture log;
    JpegLoader loader;
    CaptureStdout();
    EXPECT_EQ(loader.load(name.c_str()), 1);
    GetCapturedStdout();
    EXPECT_EQ(loader.pixelCount(), 32u * 16u);
    EXPECT_EQ(log.textAfterStartLine(), "warning : data from " + name + " are corrupted");
}

TEST(JpegLoader, NotAJpegReturnsZeroLeavingTheLoaderEmpty) {
    LogCapture log;
    JpegLoader loader;
    EXPECT_EQ(loadBytes(loader, {'h', 'e', 'l', 'l', 'o'}, "text.jpg"), 0);
    EXPECT_EQ(loader.pixels, nullptr);
    EXPECT_EQ(loader.width, 0);
    EXPECT_EQ(loader.file, nullptr);
    EXPECT_EQ(log.textAfterStartLine(), "");
}

TEST(JpegLoader, RejectedAfterTheHeaderKeepsTheSizeWithEveryPixelZero) {
    JpegLoader loader;
    CaptureStdout();  // CMYK: the header reads, but libjpeg cannot deliver RGB
    EXPECT_EQ(loadBytes(loader, image_writers::jpeg(8, 4, Bytes(8 * 4 * 4, 0x40), 4, 75), "cmyk.jpg"), 0);
    EXPECT_EQ(GetCapturedStdout(), "8 4");
    EXPECT_THAT(pixelsOf(loader), testing::AllOf(testing::SizeIs(32), Each(0u)));
    EXPECT_EQ(loader.rgbBuffer, nullptr);
    EXPECT_EQ(loader.file, nullptr);
}
