#include "image/tga_loader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "base/log.h"
#include "tests/image/image_test_support.h"

using image_testing::Bytes;
using image_testing::ImageFiles;
using image_testing::loadBytes;
using image_testing::pixelsOf;
using image_testing::tga;
using testing::ElementsAre;
using testing_support::LogCapture;

// The name as a scene file gives it, with a backslash.
TEST(TgaLoader, FirstStoredRowEndsAtTheBottomAndTheLogNamesFileAndDepth) {
    LogCapture log;
    ImageFiles files;
    std::filesystem::create_directory(files.path("maps"));
    files.write("maps/wall.tga", tga(2, 2, 24,
                                     {0x11, 0x12, 0x13, 0x21, 0x22, 0x23,     // B1G1R1 B2G2R2
                                      0x31, 0x32, 0x33, 0x41, 0x42, 0x43}));  // B3G3R3 B4G4R4
    const std::string name = files.path("maps") + "\\wall.tga";
    TgaLoader loader;
    EXPECT_EQ(loader.load(name.c_str()), 1);
    EXPECT_EQ(loader.file, nullptr);
    EXPECT_THAT(pixelsOf(loader), ElementsAre(0x00333231, 0x00434241, 0x00131211, 0x00232221));
    EXPECT_EQ(log.textAfterStartLine(), "loading texture : " + name + "\ntexture depth : 24\n");
}

TEST(TgaLoader, DecodesEachDepthAndZeroesWhatItCannotRead) {
    Bytes palette(768, 0);
    palette[15] = 0x10;  // entry 5: blue, green, red
    palette[16] = 0x20;
    palette[17] = 0x30;
    palette.insert(palette.end(), {5, 0});
    struct Case {
        uint8_t depth;
        Bytes data;  // one row of two pixels
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {8, palette, {0x00302010, 0x00000000}},
        {16, {0xFF, 0x7F, 0x00, 0x80}, {0x00F8F8F8, 0x00000000}},  // bit 15 is dropped
        {24, {1, 2, 3, 4, 5, 6}, {0x00030201, 0x00060504}},
        {32, {1, 2, 3, 0x80, 4, 5, 6, 0xFF}, {0x80030201, 0xFF060504}},  // the file's alpha stays
        {32, {1, 2, 3, 0x80, 4, 5}, {0x80030201, 0}},                    // the file ends early
        {15, {1, 2, 3, 4}, {0, 0}},                                      // not a depth it reads
    };
    for (const Case& c : cases) {
        TgaLoader loader;
        EXPECT_EQ(loadBytes(loader, tga(2, 1, c.depth, c.data), "image.tga"), 1) << "depth " << int{c.depth};
        EXPECT_EQ(pixelsOf(loader), c.expected) << "depth " << int{c.depth};
    }
}

// The limit is inclusive and checked before anything is allocated; a small
// limit proves it as well as the real one, without a gigabyte of pixels.
TEST(TgaLoaderDeathTest, ImageOverTheSizeLimitIsTheOutOfMemoryStop) {
    LogCapture log;
    logFlush();
    TgaLoader loader;
    EXPECT_EQ(loader.pixelLimit, size_t{16384} * 16384);
    loader.pixelLimit = 12;
    EXPECT_EXIT(loadBytes(loader, tga(13, 1, 32), "huge.tga"), testing::ExitedWithCode(255),
                "^error: error : not enough memory \n$");
    EXPECT_EQ(loadBytes(loader, tga(4, 3, 7), "largest.tga"), 1);
    EXPECT_EQ(loader.pixels[11], 0u);
}
