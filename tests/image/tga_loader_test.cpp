#include "image/tga_loader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/log.h"
#include "tests/image/image_test_support.h"

using image_testing::Bytes;
using image_testing::ImageFiles;
using image_testing::operator+;
using image_testing::pixelsOf;
using image_testing::tgaHeader;
using testing::ElementsAre;
using testing::ExitedWithCode;
using testing_support::LogCapture;

namespace {

struct Loaded {
    int result;
    std::vector<uint32_t> pixels;
    uint16_t width;
    uint16_t height;
    int depth;
};

Loaded loadTga(const Bytes& bytes) {
    ImageFiles files;
    TgaLoader loader;
    const int result = loader.load(files.write("image.tga", bytes).c_str());
    return {result, pixelsOf(loader), loader.width, loader.height, loader.depth};
}

}  // namespace

TEST(TgaLoader, FirstStoredRowEndsAtTheBottom) {
    const Bytes rows = {0x11, 0x12, 0x13, 0x21, 0x22, 0x23,   // B1 G1 R1, B2 G2 R2
                        0x31, 0x32, 0x33, 0x41, 0x42, 0x43};  // B3 G3 R3, B4 G4 R4
    const Loaded image = loadTga(tgaHeader(2, 2, 24) + rows);
    EXPECT_EQ(image.result, 1);
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.depth, 24);
    EXPECT_THAT(image.pixels, ElementsAre(0x00333231, 0x00434241, 0x00131211, 0x00232221));
}

TEST(TgaLoader, DecodesEachDepth) {
    Bytes palette(768, 0);
    palette[15] = 0x10;
    palette[16] = 0x20;
    palette[17] = 0x30;
    struct Case {
        uint8_t depth;
        Bytes data;  // one row of two pixels
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {8, palette + Bytes{5, 0}, {0x00302010, 0x00000000}},
        {16, {0xFF, 0x7F, 0x00, 0x80}, {0x00F8F8F8, 0x00000000}},
        {24, {1, 2, 3, 4, 5, 6}, {0x00030201, 0x00060504}},
        {32, {1, 2, 3, 0x80, 4, 5, 6, 0xFF}, {0x80030201, 0xFF060504}},  // the file's alpha stays
        {15, {1, 2, 3, 4}, {0, 0}},                                      // not a depth it reads
    };
    for (const Case& c : cases) {
        const Loaded image = loadTga(tgaHeader(2, 1, c.depth) + c.data);
        EXPECT_EQ(image.result, 1) << "depth " << int{c.depth};
        EXPECT_EQ(image.pixels, c.expected) << "depth " << int{c.depth};
    }
}

TEST(TgaLoader, LogsTheNameAndTheDepth) {
    LogCapture log;
    loadTga(tgaHeader(1, 1, 24) + Bytes{1, 2, 3});
    EXPECT_THAT(log.textAfterStartLine(),
                testing::MatchesRegex("loading texture : .*/image.tga\ntexture depth : 24\n"));
}

TEST(TgaLoader, MissingFileReturnsZeroWithNothingLoggedOrAllocated) {
    LogCapture log;
    ImageFiles files;
    TgaLoader loader;
    EXPECT_EQ(loader.load(files.path("absent.tga").c_str()), 0);
    EXPECT_EQ(loader.pixels, nullptr);
    EXPECT_EQ(log.textAfterStartLine(), "");
}

TEST(TgaLoader, NamesWithBackslashesFindTheirDirectory) {
    ImageFiles files;
    std::filesystem::create_directory(files.path("maps"));
    files.write("maps/rock.tga", tgaHeader(1, 1, 24) + Bytes{1, 2, 3});
    TgaLoader loader;
    EXPECT_EQ(loader.load((files.path("maps") + "\\rock.tga").c_str()), 1);
    EXPECT_THAT(pixelsOf(loader), ElementsAre(0x00030201));
}

TEST(TgaLoader, ShortFileKeepsThePixelsReadAndZeroesTheRest) {
    // Two rows stored bottom first; the file ends after the bottom row's first pixel.
    const Loaded image = loadTga(tgaHeader(2, 2, 32) + Bytes{1, 2, 3, 4, 5, 6});
    EXPECT_EQ(image.result, 1);
    EXPECT_THAT(image.pixels, ElementsAre(0, 0, 0x04030201, 0));
}

TEST(TgaLoaderDeathTest, ImageOverTheSizeLimitIsTheOutOfMemoryStop) {
    LogCapture log;
    logFlush();
    EXPECT_EXIT(loadTga(tgaHeader(16385, 16384, 32)), ExitedWithCode(255), "error: error : not enough memory \n");
    ImageFiles files;
    TgaLoader largest;
    EXPECT_EQ(largest.load(files.write("largest.tga", tgaHeader(16384, 16384, 7)).c_str()), 1);
    ASSERT_NE(largest.pixels, nullptr);
    EXPECT_EQ(largest.pixels[16384u * 16384u - 1], 0u);
}
