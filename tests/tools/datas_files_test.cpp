// The data directory make-datas writes: complete, byte-identical from run to
// run, title images of light text on black, a soundtrack with a beat.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "tests/support/test_support.h"
#include "tools/make_datas/datas_writer.h"
#include "tools/make_datas/demo_scenes.h"
#include "tools/make_datas/noise.h"
#include "tools/make_datas/soundtrack.h"
#include "tools/make_datas/title_images.h"

namespace {

using testing_support::readFile;
using testing_support::ScratchDirectory;

std::map<std::string, std::string> filesIn(const std::filesystem::path& directory) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        files[entry.path().filename().string()] = readFile(entry.path());
    return files;
}

// The build's own run of make-datas is the other run: a process of its own,
// made before this one.
TEST(DatasFiles, TwoRunsWriteTheSameCompleteDirectory) {
    ScratchDirectory directory;
    std::vector<std::string> reported;
    datas::DatasOptions options;
    options.progress = [&](const std::string& name) { reported.push_back(name); };
    datas::writeDatas(directory.path(), options);
    const auto files = filesIn(directory.path());
    EXPECT_EQ(files, filesIn(KVOR_DEMO_DATAS));
    EXPECT_EQ(reported.size(), files.size());
    const char* required[] = {"tores.kvs",   "mont.kvs",     "salle.kvs",     "vrn et qim.jpg", "presentent.jpg",
                              "nomDemo.jpg", "complet.jpg",  "mireli.jpg",    "pfo 2k.jpg",     "accelerate.jpg",
                              "fly.jpg",     "dontstop.jpg", "kvor-theme.wav"};
    for (const char* name : required) EXPECT_TRUE(files.contains(name)) << name;
    // TGA image type 1 is colour-mapped (8 bits), 2 true colour at the depth in byte 16.
    std::set<int> tgaDepths;
    int zkv = 0, jpeg = 0;
    for (const auto& [name, bytes] : files) {
        const std::string extension = name.substr(name.rfind('.') + 1);
        if (extension == "tga") tgaDepths.insert(bytes[2] == 1 ? 8 : static_cast<uint8_t>(bytes[16]));
        if (extension == "zkv" || extension == "ZKV") ++zkv;
        if (extension == "jpg") ++jpeg;
    }
    EXPECT_EQ(tgaDepths, (std::set<int>{8, 16, 24, 32}));
    EXPECT_GE(zkv, 2);
    EXPECT_GE(jpeg, 10);
}

TEST(DatasFiles, MissingFontsAreAClearError) {
    ScratchDirectory directory;
    datas::DatasOptions options;
    options.fontDirectory = directory / "no-fonts";
    try {
        datas::writeDatas(directory / "datas", options);
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_THAT(error.what(), testing::HasSubstr("DejaVu"));
    }
}

TEST(DatasTitles, LightTextOnBlackAtTheirScreenAreaSize) {
    const auto titles = datas::titleImages();
    ASSERT_EQ(titles.size(), 9u);
    for (const datas::TitleImage& title : titles) {
        SCOPED_TRACE(title.fileName);
        const image_writers::Image image = datas::renderTitle(title, datas::DatasOptions{}.fontDirectory);
        ASSERT_EQ(image.argb.size(), static_cast<size_t>(title.width) * title.height);
        const size_t corners[] = {0, title.width - 1u, image.argb.size() - title.width, image.argb.size() - 1};
        for (size_t corner : corners) EXPECT_EQ(image.argb[corner], 0u);
        size_t bright = 0;
        for (uint32_t pixel : image.argb) bright += (pixel >> 8 & 0xFF) > 0xD0 ? 1 : 0;
        EXPECT_GT(bright, image.argb.size() / 100);
        EXPECT_LT(bright, image.argb.size() / 2);
    }
    // The bottom-half title keeps the screen's proportions: 640 x 240.
    EXPECT_EQ(titles[5].width, 640);
    EXPECT_EQ(titles[5].height, 240);
}

TEST(DatasTitles, Utf8CodePoints) {
    EXPECT_THAT(datas::codePoints("é€a"), testing::ElementsAre(0xE9u, 0x20ACu, 'a'));
    EXPECT_THAT(datas::codePoints(std::string("\xC3", 1)), testing::ElementsAre(0xC3u));
    EXPECT_THAT(datas::codePoints("\xFF"
                                  "b"),
                testing::ElementsAre(0xFFu, 'b'));
}

TEST(DatasSoundtrack, WaveHeaderAndLength) {
    const datas::Soundtrack theme = datas::synthesiseTheme(2.0, 8000);
    const image_writers::Bytes wave = datas::waveFile(theme);
    ASSERT_EQ(wave.size(), 44u + 2 * 2 * 16000);
    EXPECT_EQ(std::string(wave.begin(), wave.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(wave.begin() + 8, wave.begin() + 16), "WAVEfmt ");
    const auto read32 = [&](size_t at) {
        return wave[at] | wave[at + 1] << 8 | wave[at + 2] << 16 | wave[at + 3] << 24;
    };
    EXPECT_EQ(read32(4), static_cast<int>(wave.size() - 8));
    EXPECT_EQ(read32(24), 8000);
    EXPECT_EQ(read32(28), 8000 * 4);
    EXPECT_EQ(read32(40), 2 * 2 * 16000);
    EXPECT_DOUBLE_EQ(theme.seconds(), 2.0);
}

// Loudness of the 40 ms after each beat against the 40 ms before the next.
TEST(DatasSoundtrack, EveryBeatIsLouderThanTheMomentBeforeIt) {
    const int rate = 22050;
    const datas::Soundtrack theme = datas::synthesiseTheme(10.0, rate);
    const auto energy = [&](double from, double seconds) {
        double sum = 0.0;
        const auto first = static_cast<size_t>(from * rate), count = static_cast<size_t>(seconds * rate);
        for (size_t frame = first; frame < first + count; ++frame)
            sum += std::pow(theme.samples[2 * frame] / 32768.0, 2);
        return sum / static_cast<double>(count);
    };
    const double beat = 60.0 / datas::themeTempo;
    for (int k = 1; k < 18; ++k)
        EXPECT_GT(energy(k * beat, 0.04), 2.0 * energy((k + 1) * beat - 0.04, 0.04)) << "beat " << k;
}

TEST(DatasNoise, TiledNoiseRepeatsAtItsPeriodAndStaysInRange) {
    for (float x = 0.0f; x < 8.0f; x += 0.37f)
        for (float y = 0.0f; y < 8.0f; y += 0.53f) {
            const float value = datas::fractalNoise(x, y, 4, 3, 8);
            EXPECT_NEAR(value, datas::fractalNoise(x + 8.0f, y, 4, 3, 8), 1e-5f);
            EXPECT_NEAR(value, datas::fractalNoise(x, y + 8.0f, 4, 3, 8), 1e-5f);
            EXPECT_GE(value, 0.0f);
            EXPECT_LT(value, 1.0f);
        }
}

}  // namespace
