// Files cut short at every offset and headers that lie: the loaders never read
// past the data, and every pixel they could not read is 0.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "image/jpeg_loader.h"
#include "image/tga_loader.h"
#include "image/zkv_loader.h"
#include "tests/image/image_test_support.h"
#include "tests/support/byte_writer.h"
#include "tools/image_writers/image_writers.h"

using image_testing::Bytes;
using image_testing::ImageFiles;
using image_testing::pixelsOf;
using image_testing::tgaHeader;
using testing::Each;
using testing_support::ByteWriter;

namespace {

// A 3 x 2 picture whose every pixel is distinct and has a non-zero alpha.
image_writers::Image sample() {
    return {3, 2, {0x81112233, 0x82445566, 0x83778899, 0x84AABBCC, 0x85DDEEFF, 0x86102030}};
}

// The pixels a loader must give for a file whose pixel data holds only the
// first available stored pixels (stored bottom row first).
std::vector<uint32_t> expectedFromPrefix(const std::vector<uint32_t>& full, uint16_t width, uint16_t height,
                                         size_t available) {
    std::vector<uint32_t> expected(full.size(), 0);
    for (size_t stored = 0; stored < available && stored < full.size(); ++stored) {
        const size_t index = (height - 1 - stored / width) * width + stored % width;
        expected[index] = full[index];
    }
    return expected;
}

template <typename Loader>
std::vector<uint32_t> loadPrefix(const Bytes& file, size_t length, const char* name) {
    ImageFiles files;
    Loader loader;
    EXPECT_EQ(loader.load(files.write(name, Bytes(file.begin(), file.begin() + length)).c_str()), 1);
    return pixelsOf(loader);
}

}  // namespace

TEST(MalformedFiles, TgaCutAtEveryOffsetKeepsWhatWasRead) {
    struct Case {
        int depth;
        size_t bytesPerPixel;
        uint32_t keptBits;  // of each pixel, at that depth
    };
    for (const Case c : {Case{16, 2, 0x00F8F8F8}, Case{24, 3, 0x00FFFFFF}, Case{32, 4, 0xFFFFFFFF}}) {
        const Bytes file = image_writers::tgaTrueColour(sample(), c.depth);
        std::vector<uint32_t> full = sample().argb;
        for (uint32_t& pixel : full) pixel &= c.keptBits;
        for (size_t length = 0; length <= file.size(); ++length) {
            const std::vector<uint32_t> pixels = loadPrefix<TgaLoader>(file, length, "cut.tga");
            if (length < 18) continue;  // the header itself is cut: its fields read as zeros
            const size_t available = (length - 18) / c.bytesPerPixel;
            EXPECT_EQ(pixels, expectedFromPrefix(full, 3, 2, available)) << "depth " << c.depth << ", " << length;
        }
    }
}

TEST(MalformedFiles, ColourMappedTgaCutAtEveryOffsetKeepsWhatWasRead) {
    const std::vector<uint32_t> palette = {0x00102030, 0x00405060, 0x00708090};
    const Bytes file = image_writers::tgaColourMapped(3, 2, {0, 1, 2, 2, 1, 0}, palette);
    const std::vector<uint32_t> full = {0x00102030, 0x00405060, 0x00708090, 0x00708090, 0x00405060, 0x00102030};
    for (size_t length = 18; length <= file.size(); ++length) {
        const size_t available = length < 18 + 768 ? 0 : length - 18 - 768;
        EXPECT_EQ(loadPrefix<TgaLoader>(file, length, "cut.tga"), expectedFromPrefix(full, 3, 2, available)) << length;
    }
}

TEST(MalformedFiles, ZkvBodyCutAtEveryOffsetKeepsWhatWasRead) {
    const Bytes file = image_writers::zkvBody(sample(), 32, true);
    const size_t pixelStart = 17, alphaStart = pixelStart + 6 * 4 + 8;
    std::vector<uint32_t> colours = sample().argb;
    for (uint32_t& pixel : colours) pixel &= 0x00FFFFFF;
    for (size_t length = pixelStart; length <= file.size(); ++length) {
        std::vector<uint32_t> expected = expectedFromPrefix(colours, 3, 2, (std::min(length, alphaStart) - 17) / 4);
        for (size_t i = 0; length > alphaStart && i < length - alphaStart; ++i)
            expected[i] |= sample().argb[i] & 0xFF000000;
        EXPECT_EQ(loadPrefix<ZkvLoader>(file, length, "cut.zkv"), expected) << length;
    }
}

TEST(MalformedFiles, JpegCutAtEveryOffsetNeverLeavesUnwrittenPixels) {
    image_writers::Image image{16, 16, std::vector<uint32_t>(256, 0x00FFFFFF)};
    const Bytes file = image_writers::jpeg(16, 16, image_writers::rgbSamples(image), 3, 75);
    testing::internal::CaptureStdout();
    for (size_t length = 0; length <= file.size(); ++length) {
        ImageFiles files;
        JpegLoader loader;
        const int result = loader.load(files.write("cut.jpg", Bytes(file.begin(), file.begin() + length)).c_str());
        if (result == 0 && loader.pixels) {
            EXPECT_THAT(pixelsOf(loader), Each(0u)) << length;
        } else if (result == 1) {
            EXPECT_EQ(loader.pixelCount(), 256u) << length;
        }
    }
    testing::internal::GetCapturedStdout();
}

TEST(MalformedFiles, LyingHeadersDecodeSafely) {
    using image_testing::operator+;
    struct Case {
        const char* name;
        Bytes file;
        size_t pixelCount;
    };
    const Case cases[] = {
        {"zero width.tga", tgaHeader(0, 5, 24) + Bytes(30, 1), 0},
        {"zero height.tga", tgaHeader(5, 0, 32) + Bytes(30, 1), 0},
        {"depth 255.tga", tgaHeader(2, 2, 255) + Bytes(30, 1), 4},
        {"huge but empty.tga", tgaHeader(4096, 4096, 32), 4096 * 4096},
        {"zero size.zkv", ByteWriter().chars("zkv123").int16(0x16).int32(0).int32(0).uint8(8).data(), 0},
        {"depth 0.zkv", ByteWriter().chars("zkv123").int16(0).int32(2).int32(2).uint8(0).data(), 4},
        {"all flags.zkv", ByteWriter().chars("zkv123").int16(-1).data(), 0},
    };
    for (const Case& c : cases) {
        ImageFiles files;
        std::unique_ptr<ImageLoader> loader;
        if (std::string(c.name).ends_with("tga"))
            loader = std::make_unique<TgaLoader>();
        else
            loader = std::make_unique<ZkvLoader>();
        EXPECT_EQ(loader->load(files.write(c.name, c.file).c_str()), 1) << c.name;
        EXPECT_EQ(loader->pixelCount(), c.pixelCount) << c.name;
        const uint32_t* first = loader->pixels.get();
        EXPECT_TRUE(std::all_of(first, first + loader->pixelCount(), [](uint32_t p) { return p == 0; })) << c.name;
    }
}
