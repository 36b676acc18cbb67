#include "image/zkv_loader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "base/log.h"
#include "tests/image/image_test_support.h"
#include "tests/support/byte_writer.h"
#include "tools/image_writers/image_writers.h"

using image_testing::Bytes;
using image_testing::ImageFiles;
using image_testing::pixelsOf;
using testing::ElementsAre;
using testing_support::ByteWriter;
using testing_support::LogCapture;

namespace {

// Lead-in, flags, the extra fields they announce (bytes the loader must skip),
// then the size.
ByteWriter body(int16_t flags, int32_t width, int32_t height, uint8_t depth) {
    ByteWriter bytes;
    bytes.chars("zkv\x01\x02\x03").int16(flags);
    if (flags & 0x02) bytes.chars(std::string(8, '\xEE'));
    if (flags & 0x04) bytes.chars(std::string(4, '\xEE'));
    return bytes.int32(width).int32(height).uint8(depth);
}

std::vector<uint32_t> loadZkv(const Bytes& file) {
    ZkvLoader loader;
    EXPECT_EQ(image_testing::loadBytes(loader, file, "image.zkv"), 1);
    return pixelsOf(loader);
}

}  // namespace

TEST(ZkvLoader, FlagsDecideWhereThePixelDataStartsPackedOrNot) {
    const std::pair<int16_t, size_t> cases[] = {{0x0000, 17}, {0x0002, 25}, {0x0004, 21},
                                                {0x0006, 29}, {0x0100, 17}, {0x0001, 17}};
    for (const auto& [flags, pixelOffset] : cases) {
        ByteWriter bytes = body(flags, 0x10001, 0x20001, 32);  // only the low 16 bits count
        EXPECT_EQ(bytes.size(), pixelOffset) << "flags " << flags;
        bytes.int32(0x11223344);
        EXPECT_THAT(loadZkv(bytes.data()), ElementsAre(0x11223344)) << "flags " << flags;
        EXPECT_THAT(loadZkv(image_writers::gzip(bytes.data(), 1)), ElementsAre(0x11223344)) << "flags " << flags;
    }
}

TEST(ZkvLoader, AlphaPlaneIsTopRowFirstAndCombinesWithStoredAlpha) {
    LogCapture log;
    ByteWriter bytes = body(0x10, 1, 2, 32).int32(0x11223344).int32(0x55667788);  // bottom row first
    bytes.int32(1).int32(2).uint8(0x01).uint8(0x02);                              // top row first
    EXPECT_THAT(loadZkv(image_writers::gzip(bytes.data(), 9)), ElementsAre(0x55667788, 0x13223344));
    EXPECT_EQ(log.textAfterStartLine(), "uncompressing zkv File\n2 132\n1 2\nbon la on quitte ce foutoir\n");
}

TEST(ZkvLoader, DecodesEachDepth) {
    ByteWriter paletted = body(0, 2, 1, 8);
    paletted.chars(std::string(15, '\0')).uint8(0x10).uint8(0x20).uint8(0x30).chars(std::string(750, '\0'));
    const std::pair<ByteWriter, std::vector<uint32_t>> cases[] = {
        {paletted.uint8(5).uint8(0), {0x00302010, 0}},
        {body(0, 2, 1, 24).int32(0x04030201).int32(0x08070605), {0x04030201, 0x08070605}},  // 4 bytes, like 32
    };
    for (const auto& [bytes, expected] : cases) EXPECT_EQ(loadZkv(bytes.data()), expected);
}

TEST(ZkvLoader, AlphaPlaneOfTheWrongSizeAppliesAtMostOneBytePerPixel) {
    const std::tuple<int32_t, int32_t, std::vector<uint32_t>> cases[] = {
        {3, 3, {0x01000000, 0x02000000}},
        {1, 1, {0x01000000, 0}},
        {-1, -1, {0x01000000, 0x02000000}},  // the product overflows 32 bits
    };
    for (const auto& [alphaWidth, alphaHeight, expected] : cases) {
        ByteWriter bytes = body(0x10, 2, 1, 32).int32(0).int32(0).int32(alphaWidth).int32(alphaHeight);
        EXPECT_EQ(loadZkv(bytes.chars("\x01\x02\x03\x04\x05\x06\x07\x08\x09").data()), expected) << alphaWidth;
    }
}

TEST(ZkvLoaderDeathTest, DamagedStreamsAreLoggedAndStop) {
    const Bytes packed = image_writers::gzip(body(0, 4, 4, 32).chars(std::string(64, 'x')).data(), 9);
    Bytes corrupt = packed;
    corrupt[corrupt.size() - 6] ^= 0xFF;  // inside the CRC: the data no longer matches
    const std::pair<Bytes, std::string> cases[] = {{corrupt, "Zlib error while reading :"},
                                                   {Bytes(packed.begin(), packed.end() - 4), "error while closing :"}};
    for (const auto& [file, logLine] : cases) {
        ImageFiles files;
        const std::string name = files.write("damaged.zkv", file);
        LogCapture log;
        logFlush();
        EXPECT_EXIT(ZkvLoader().load(name.c_str()), testing::ExitedWithCode(255),
                    "^error!: error while reading a zkv file\n$");
        EXPECT_EQ(log.textAfterStartLine(), logLine + name + "\n");
    }
}
