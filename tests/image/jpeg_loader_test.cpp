#include <gmock/gmock.h>
#include <gtest/gtest.h>

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <algorithm>
#include <cstdlib>

#include "image/jpeg_loader.h"
#include "tests/image/image_test_support.h"
#include "tools/image_writers/image_writers.h"

using image_testing::Bytes;
using image_testing::ImageFiles;
using image_testing::pixelsOf;
using testing::Each;
using testing_support::LogCapture;

namespace {

// Red, green, blue of a pixel, each within tolerance of the expected value:
// JPEG's colour conversion may be one or two steps off.
void expectColourNear(uint32_t pixel, uint32_t expected, int tolerance, const char* where) {
    for (int shift : {24, 16, 8, 0}) {
        const int got = static_cast<int>(pixel >> shift & 0xFF);
        const int want = static_cast<int>(expected >> shift & 0xFF);
        EXPECT_NEAR(got, want, shift == 24 ? 0 : tolerance) << where << ", bits " << shift;
    }
}

// Left half red, right half blue, in blocks wide enough that the decoder's
// smoothing across block edges leaves the middle of each half alone.
Bytes redThenBlue() {
    image_writers::Image image{32, 16, std::vector<uint32_t>(32 * 16)};
    for (size_t i = 0; i < image.argb.size(); ++i) image.argb[i] = i % 32 < 16 ? 0x00FF0000 : 0x000000FF;
    return image_writers::jpeg(32, 16, image_writers::rgbSamples(image), 3, 100);
}

// A CMYK JPEG: its header reads, but libjpeg cannot deliver it as RGB.
Bytes cmykJpeg() {
    jpeg_compress_struct encoder{};
    jpeg_error_mgr errors{};
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    unsigned char* output = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&encoder, &output, &size);
    encoder.image_width = 8;
    encoder.image_height = 4;
    encoder.input_components = 4;
    encoder.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&encoder);
    jpeg_start_compress(&encoder, TRUE);
    std::vector<uint8_t> row(8 * 4, 0x40);
    for (int y = 0; y < 4; ++y) {
        JSAMPROW rowStart = row.data();
        jpeg_write_scanlines(&encoder, &rowStart, 1);
    }
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    Bytes bytes(output, output + size);
    std::free(output);
    return bytes;
}

const uint8_t startOfScan[] = {0xFF, 0xDA};

}  // namespace

TEST(JpegLoader, DecodesColourAsRgbWithAlphaZeroAndPrintsTheSize) {
    ImageFiles files;
    LogCapture log;
    JpegLoader loader;
    testing::internal::CaptureStdout();
    EXPECT_EQ(loader.load(files.write("colours.jpg", redThenBlue()).c_str()), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "32 16");
    EXPECT_EQ(loader.width, 32);
    EXPECT_EQ(loader.height, 16);
    EXPECT_EQ(loader.depth, 24);
    EXPECT_EQ(loader.rgbBuffer, nullptr);
    expectColourNear(loader.pixels[4 * 32 + 4], 0x00FF0000, 2, "red half");
    expectColourNear(loader.pixels[12 * 32 + 27], 0x000000FF, 2, "blue half");
    EXPECT_EQ(log.textAfterStartLine(), "");
}

TEST(JpegLoader, GreyscaleDecodesToEqualChannels) {
    ImageFiles files;
    const Bytes grey = image_writers::jpeg(8, 8, Bytes(64, 0x80), 1, 100);
    JpegLoader loader;
    testing::internal::CaptureStdout();
    EXPECT_EQ(loader.load(files.write("grey.jpg", grey).c_str()), 1);
    testing::internal::GetCapturedStdout();
    EXPECT_THAT(pixelsOf(loader), Each(0x00808080u));
}

TEST(JpegLoader, TruncatedFileIsUsedWithOneWarningWithoutNewline) {
    ImageFiles files;
    Bytes cut = redThenBlue();
    const auto scanStart = std::search(cut.begin(), cut.end(), std::begin(startOfScan), std::end(startOfScan));
    cut.resize(static_cast<size_t>(scanStart - cut.begin()) + 20);  // into the entropy-coded data
    const std::string name = files.write("cut.jpg", cut);
    LogCapture log;
    JpegLoader loader;
    testing::internal::CaptureStdout();
    EXPECT_EQ(loader.load(name.c_str()), 1);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(loader.width, 32);
    EXPECT_EQ(log.textAfterStartLine(), "warning : data from " + name + " are corrupted");
}

TEST(JpegLoader, NotAJpegReturnsZeroLeavingTheLoaderEmpty) {
    ImageFiles files;
    LogCapture log;
    JpegLoader loader;
    EXPECT_EQ(loader.load(files.write("text.jpg", Bytes{'h', 'e', 'l', 'l', 'o'}).c_str()), 0);
    EXPECT_EQ(loader.load(files.path("absent.jpg").c_str()), 0);
    EXPECT_EQ(loader.pixels, nullptr);
    EXPECT_EQ(loader.width, 0);
    EXPECT_EQ(loader.file, nullptr);
    EXPECT_EQ(log.textAfterStartLine(), "");
}

TEST(JpegLoader, RejectedAfterTheHeaderKeepsTheSizeWithEveryPixelZero) {
    ImageFiles files;
    JpegLoader loader;
    testing::internal::CaptureStdout();
    EXPECT_EQ(loader.load(files.write("cmyk.jpg", cmykJpeg()).c_str()), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "8 4");
    EXPECT_EQ(loader.width, 8);
    EXPECT_EQ(loader.height, 4);
    EXPECT_THAT(pixelsOf(loader), testing::AllOf(testing::SizeIs(32), Each(0u)));
    EXPECT_EQ(loader.rgbBuffer, nullptr);
    EXPECT_EQ(loader.file, nullptr);
}
