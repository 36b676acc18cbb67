#include "image/zkv_loader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/log.h"
#include "tests/image/image_test_support.h"
#include "tests/support/byte_writer.h"
#include "tools/image_writers/image_writers.h"

using image_testing::Bytes;
using image_testing::ImageFiles;
using image_testing::pixelsOf;
using testing::ElementsAre;
using testing::ExitedWithCode;
using testing_support::ByteWriter;
using testing_support::LogCapture;

namespace {

// Lead-in and flags; the extra fields the flags announce, filled with a byte
// the loader must skip.
ByteWriter bodyStart(int16_t flags) {
    ByteWriter body;
    body.chars("zkv\x01\x02\x03").int16(flags);
    if (flags & 0x02) body.chars(std::string(8, '\xEE'));
    if (flags & 0x04) body.chars(std::string(4, '\xEE'));
    return body;
}

ByteWriter& size(ByteWriter& body, int32_t width, int32_t height, uint8_t depth) {
    return body.int32(width).int32(height).uint8(depth);
}

struct Loaded {
    int result;
    std::vector<uint32_t> pixels;
};

Loaded loadZkv(const Bytes& file) {
    ImageFiles files;
    ZkvLoader loader;
    const int result = loader.load(files.write("image.zkv", file).c_str());
    return {result, pixelsOf(loader)};
}

}  // namespace

TEST(ZkvLoader, FlagsDecideWhereThePixelDataStarts) {
    struct Case {
        int16_t flags;
        size_t pixelOffset;
    };
    const Case cases[] = {{0x0000, 17}, {0x0002, 25}, {0x0004, 21}, {0x0006, 29}, {0x0100, 17}, {0x0001, 17}};
    for (const Case& c : cases) {
        ByteWriter body = bodyStart(c.flags);
        size(body, 1, 1, 32);
        EXPECT_EQ(body.size(), c.pixelOffset) << "flags " << c.flags;
        body.int32(0x11223344);
        EXPECT_THAT(loadZkv(body.data()).pixels, ElementsAre(0x11223344)) << "flags " << c.flags;
    }
}

TEST(ZkvLoader, AlphaPlaneIsTopRowFirstAndCombinesWithStoredAlpha) {
    LogCapture log;
    ByteWriter body = bodyStart(0x10);
    size(body, 1, 2, 32).int32(0x11223344).int32(0x55667788);  // bottom row first
    body.int32(1).int32(2).uint8(0x01).uint8(0x02);            // top row first
    const Loaded image = loadZkv(image_writers::gzip(body.data(), 9));
    EXPECT_EQ(image.result, 1);
    EXPECT_THAT(image.pixels, ElementsAre(0x55667788, 0x13223344));
    EXPECT_EQ(log.textAfterStartLine(), "uncompressing zkv File\n2 132\n1 2\nbon la on quitte ce foutoir\n");
}

TEST(ZkvLoader, DecodesEachDepth) {
    Bytes palette(768, 0);
    palette[15] = 0x10;
    palette[16] = 0x20;
    palette[17] = 0x30;
    struct Case {
        uint8_t depth;
        Bytes data;  // one row of two pixels
        std::vector<uint32_t> expected;
    };
    using image_testing::operator+;
    const Case cases[] = {
        {8, palette + Bytes{5, 0}, {0x00302010, 0x00000000}},
        {16, {0xFF, 0x7F, 0x00, 0x80}, {0x00F8F8F8, 0x00000000}},
        {24, {1, 2, 3, 4, 5, 6, 7, 8}, {0x04030201, 0x08070605}},  // four bytes a pixel all the same
        {32, {1, 2, 3, 4, 5, 6, 7, 8}, {0x04030201, 0x08070605}},
    };
    for (const Case& c : cases) {
        ByteWriter body = bodyStart(0);
        size(body, 2, 1, c.depth);
        EXPECT_EQ(loadZkv(body.data() + c.data).pixels, c.expected) << "depth " << int{c.depth};
    }
}

TEST(ZkvLoader, SixteenBitWithOpaquePlaneHasAlphaFFAndClearLowBits) {
    ByteWriter body = bodyStart(0x10);
    size(body, 2, 1, 16).int16(0x7FFF).int16(0x0421).int32(2).int32(1).uint8(0xFF).uint8(0xFF);
    EXPECT_THAT(loadZkv(body.data()).pixels, ElementsAre(0xFFF8F8F8, 0xFF080808));
}

TEST(ZkvLoader, AlphaPlaneOfTheWrongSizeAppliesAtMostOneBytePerPixel) {
    struct Case {
        int32_t alphaWidth;
        int32_t alphaHeight;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {3, 3, {0x01000000, 0x02000000}},
        {1, 1, {0x01000000, 0}},
        {-1, -1, {0x01000000, 0x02000000}},  // the product overflows 32 bits
        {0, 5, {0, 0}},
    };
    for (const Case& c : cases) {
        ByteWriter body = bodyStart(0x10);
        size(body, 2, 1, 32).int32(0).int32(0).int32(c.alphaWidth).int32(c.alphaHeight);
        for (uint8_t alpha = 1; alpha <= 9; ++alpha) body.uint8(alpha);
        EXPECT_EQ(loadZkv(body.data()).pixels, c.expected) << c.alphaWidth << " x " << c.alphaHeight;
    }
}

TEST(ZkvLoader, PlainAndCompressedBodiesReadAlikeWithOnlyTheLow16BitsOfTheSize) {
    ByteWriter body = bodyStart(0);
    size(body, 0x10002, 0x20001, 32).int32(1).int32(2);
    EXPECT_THAT(loadZkv(body.data()).pixels, ElementsAre(1, 2));
    EXPECT_THAT(loadZkv(image_writers::gzip(body.data(), 1)).pixels, ElementsAre(1, 2));
}

TEST(ZkvLoader, MissingFileReturnsZeroWithNothingLogged) {
    LogCapture log;
    ImageFiles files;
    ZkvLoader loader;
    EXPECT_EQ(loader.load(files.path("absent.zkv").c_str()), 0);
    EXPECT_EQ(loader.pixels, nullptr);
    EXPECT_EQ(log.textAfterStartLine(), "");
}

TEST(ZkvLoader, UnpacksInMemoryLeavingNoFileBehind) {
    ImageFiles files;
    const std::filesystem::path directory = std::filesystem::path(files.write("image.zkv", {})).parent_path();
    ByteWriter body = bodyStart(0);
    size(body, 1, 1, 32).int32(7);
    const std::string name = files.write("image.zkv", image_writers::gzip(body.data(), 6));
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(directory);
    ZkvLoader loader;
    EXPECT_EQ(loader.load(name.c_str()), 1);
    std::filesystem::current_path(before);
    EXPECT_EQ(loader.sourceName, name);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) left.push_back(entry.path().filename());
    EXPECT_THAT(left, ElementsAre("image.zkv"));
}

TEST(ZkvLoaderDeathTest, DamagedStreamsAreLoggedAndStop) {
    ByteWriter body = bodyStart(0);
    size(body, 4, 4, 32).chars(std::string(64, 'x'));
    const Bytes packed = image_writers::gzip(body.data(), 9);
    Bytes corrupt = packed;
    corrupt[corrupt.size() - 6] ^= 0xFF;  // inside the CRC: the data no longer matches
    Bytes truncated(packed.begin(), packed.end() - 4);
    struct Case {
        Bytes file;
        const char* logLine;
    };
    const Case cases[] = {{corrupt, "Zlib error while reading :"}, {truncated, "error while closing :"}};
    for (const Case& c : cases) {
        ImageFiles files;
        const std::string name = files.write("damaged.zkv", c.file);
        LogCapture log;
        logFlush();
        ZkvLoader loader;
        EXPECT_EXIT(loader.load(name.c_str()), ExitedWithCode(255), "error!: error while reading a zkv file\n");
        EXPECT_EQ(log.textAfterStartLine(), c.logLine + name + "\n");
    }
}
