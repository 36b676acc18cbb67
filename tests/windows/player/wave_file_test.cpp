// The soundtrack reader against WAVE files made here byte by byte.

#include "tools/player/wave_file.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "tests/windows/player/wave_bytes.h"

namespace {

using player::parseWave;
using player::Soundtrack;

TEST(WaveFile, ReadsTheFormatAndTheSamples) {
    const auto read = parseWave(waveBytes(44100, 2, 16, std::vector<uint8_t>(44100 * 4, 7)));
    ASSERT_TRUE(std::holds_alternative<Soundtrack>(read)) << std::get<std::string>(read);
    const Soundtrack& soundtrack = std::get<Soundtrack>(read);
    EXPECT_EQ(soundtrack.format.nChannels, 2);
    EXPECT_EQ(soundtrack.format.nSamplesPerSec, 44100u);
    EXPECT_EQ(soundtrack.format.wBitsPerSample, 16);
    EXPECT_EQ(soundtrack.samples.size(), 44100u * 4);
    EXPECT_DOUBLE_EQ(soundtrack.seconds(), 1.0);
}

TEST(WaveFile, SkipsOtherChunksWithTheirPadding) {
    // A "LIST" chunk of odd length is followed by one pad byte.
    std::vector<uint8_t> bytes = waveBytes(8000, 1, 8, {1, 2, 3, 4});
    const std::vector<uint8_t> list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    bytes.insert(bytes.begin() + 36, list.begin(), list.end());
    bytes[4] = uint8_t(bytes.size() - 8);
    const auto read = parseWave(bytes);
    ASSERT_TRUE(std::holds_alternative<Soundtrack>(read)) << std::get<std::string>(read);
    EXPECT_EQ(std::get<Soundtrack>(read).samples, (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST(WaveFile, ADataChunkCutShortKeepsItsWholeFrames) {
    std::vector<uint8_t> bytes = waveBytes(8000, 2, 16, std::vector<uint8_t>(40, 1));
    bytes.resize(bytes.size() - 7);  // 33 bytes of sound left: eight whole frames of four bytes
    const auto read = parseWave(bytes);
    ASSERT_TRUE(std::holds_alternative<Soundtrack>(read));
    EXPECT_EQ(std::get<Soundtrack>(read).samples.size(), 32u);
}

TEST(WaveFile, RefusesWhatItCannotPlay) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* problem;
    };
    std::vector<uint8_t> floats = waveBytes(8000, 1, 16, {0, 0});
    floats[20] = 3;  // IEEE float
    std::vector<uint8_t> badAlign = waveBytes(8000, 2, 16, {0, 0, 0, 0});
    badAlign[32] = 3;
    std::vector<uint8_t> noFormat = waveBytes(8000, 1, 8, {0});
    noFormat[12] = 'x';
    std::vector<uint8_t> noData = waveBytes(8000, 1, 8, {});
    noData.resize(36);
    std::vector<uint8_t> hugeFormat = waveBytes(8000, 1, 8, {0});
    hugeFormat[16] = 0xFF;
    hugeFormat[17] = 0xFF;
    const Case cases[] = {
        {"empty", {}, "not a RIFF WAVE file"},
        {"another RIFF", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}, "not a RIFF WAVE file"},
        {"float samples", floats, "sound in format 3, not integer PCM"},
        {"block size not the frame's", badAlign, "a format with inconsistent sizes"},
        {"format chunk renamed", noFormat, "sound before its format"},
        {"format longer than the file", hugeFormat, "a damaged format chunk"},
        {"no data chunk", noData, "no sound in the file"},
    };
    for (const Case& c : cases) {
        const auto read = parseWave(c.bytes);
        ASSERT_TRUE(std::holds_alternative<std::string>(read)) << c.what;
        EXPECT_EQ(std::get<std::string>(read), c.problem) << c.what;
    }
}

}  // namespace
