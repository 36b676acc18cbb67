#include "image/jpeg_loader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/image/image_test_support.h"
#include "tools/image_writers/image_writers.h"

using image_testing::Bytes;
using image_testing::loadBytes;
using image_testing::pixelsOf;
using testing::Each;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;
using testing_support::LogCapture;

namespace {

// Grey 0x80 at the highest quality decodes exactly, as RGB with alpha 0.
const Bytes grey = image_writers::jpeg(8, 4, Bytes(32, 0x80), 1, 100);

}  // namespace

TEST(JpegLoader, DecodesToRgbWithAlphaZeroPrintingTheSize) {
    LogCapture log;
    JpegLoader loader;
    CaptureStdout();
    EXPECT_EQ(loadBytes(loader, grey, "grey.jpg"), 1);
    EXPECT_EQ(GetCapturedStdout(), "8 4");
    EXPECT_EQ(loader.depth, 24);
    EXPECT_EQ(loader.rgbBuffer, nullptr);
    EXPECT_EQ(loader.file, nullptr);
    EXPECT_THAT(pixelsOf(loader), testing::AllOf(testing::SizeIs(32), Each(0x00808080u)));
    EXPECT_EQ(log.textAfterStartLine(), "");
}

TEST(JpegLoader, FileEndingEarlyIsUsedWithOneWarningWithoutNewline) {
    image_testing::ImageFiles files;
    const std::string name = files.write("cut.jpg", Bytes(grey.begin(), grey.end() - 2));  // no end-of-image marker
    LogCapture log;
    JpegLoader loader;
    CaptureStdout();
    EXPECT_EQ(loader.load(name.c_str()), 1);
    GetCapturedStdout();
    EXPECT_THAT(pixelsOf(loader), Each(0x00808080u));
    EXPECT_EQ(log.textAfterStartLine(), "warning : data from " + name + " are corrupted");
}

TEST(JpegLoader, RejectedFilesReturnZeroWithEveryPixelZero) {
    LogCapture log;
    JpegLoader text, cmyk;
    EXPECT_EQ(loadBytes(text, {'h', 'e', 'l', 'l', 'o'}, "text.jpg"), 0);
    EXPECT_TRUE(text.pixels == nullptr && text.width == 0 && text.file == nullptr);
    CaptureStdout();  // CMYK: the header reads, but libjpeg cannot deliver RGB
    EXPECT_EQ(loadBytes(cmyk, image_writers::jpeg(8, 4, Bytes(8 * 4 * 4, 0x40), 4, 75), "cmyk.jpg"), 0);
    EXPECT_EQ(GetCapturedStdout(), "8 4");
    EXPECT_THAT(pixelsOf(cmyk), testing::AllOf(testing::SizeIs(32), Each(0u)));
    EXPECT_TRUE(cmyk.rgbBuffer == nullptr && cmyk.file == nullptr);
    EXPECT_EQ(log.textAfterStartLine(), "");
}
