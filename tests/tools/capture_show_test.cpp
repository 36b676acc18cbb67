// kvor-capture run as a user runs it, on a test show of blank scenes (short
// parts two and three) and white title images: the frame count of each
// output, the grey the overlays add, the video's length and its fading sound.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "tests/support/shell_command.h"
#include "tests/support/test_support.h"
#include "tests/tools/png_pixels.h"
#include "tools/capture/child_process.h"
#include "tools/capture/soundtrack_player.h"
#include "tools/image_writers/image_writers.h"
#include "tools/kvs/kvs_writer.h"
#include "tools/make_datas/title_images.h"

namespace {

using testing_support::CommandRun;
using testing_support::quoted;
using testing_support::runIn;
using testing_support::ScratchDirectory;

constexpr int32_t montFrames = 20;
constexpr int32_t salleFrames = 100;
constexpr int showFrames = 1500 + montFrames + salleFrames - 5;

class CaptureShowTest : public testing::Test {
protected:
    void SetUp() override {
        const auto datas = directory / "datas";
        std::filesystem::create_directories(datas);
        const std::pair<const char*, int32_t> scenes[] = {
            {"tores.kvs", 30}, {"mont.kvs", montFrames}, {"salle.kvs", salleFrames}};
        for (const auto& [name, frames] : scenes) {
            kvs::SceneFile blank;
            blank.name = name;
            blank.lastFrame = frames - 1;
            kvs::saveSceneFile(blank, datas / name);
        }
        const image_writers::Bytes white(16 * 16 * 3, 0xFF);
        for (const datas::TitleImage& title : datas::titleImages())
            image_writers::writeFile(datas / title.fileName, image_writers::jpeg(16, 16, white, 3, 95));
    }

    // kvor-capture with arguments in the test directory.
    CommandRun capture(const std::string& arguments) const {
        return runIn(directory.path(), quoted(KVOR_CAPTURE) + " " + arguments);
    }

    ScratchDirectory directory;
};

// The grey level of pixel (x, y) of a 640 x 480 PNG frame (red channel).
int greyAt(const std::filesystem::path& file, int x, int y) {
    const std::vector<uint8_t> pixels = pngPixels(file);
    if (pixels.empty()) return -1;
    return pixels[(static_cast<size_t>(y) * 640 + static_cast<size_t>(x)) * 3];
}

// A video's frames decoded by ffmpeg as RGB triples, in order, none repeated
// to fill the moment before the first (the sound's encoder starts earlier).
std::vector<std::vector<uint8_t>> videoFrames(const std::filesystem::path& video) {
    const std::string command =
        "ffmpeg -v error -i " + quoted(video) + " -vsync passthrough -f rawvideo -pix_fmt rgb24 -";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::vector<std::vector<uint8_t>> frames;
    for (std::vector<uint8_t> frame(640 * 480 * 3);
         pipe && std::fread(frame.data(), 1, frame.size(), pipe.get()) == frame.size();)
        frames.push_back(frame);
    return frames;
}

double psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    double squares = 0.0;
    for (size_t k = 0; k < a.size() && k < b.size(); ++k) {
        const double difference = double(a[k]) - double(b[k]);
        squares += difference * difference;
    }
    const double mean = squares / static_cast<double>(std::max<size_t>(1, a.size()));
    return mean == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mean);
}

std::filesystem::path frameFile(const ScratchDirectory& directory, int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06d.png", frame);
    return directory / "frames" / name;
}

// The whole show in one run, then the frames other ways give compared with it.
TEST_F(CaptureShowTest, PngFramesAreTheShowsFramesWithTheOverlaysGreyHoweverRecorded) {
    const CommandRun run = capture("--png frames --jobs 1");
    ASSERT_EQ(run.status, 0) << run.errors;
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory / "frames")) ++count;
    EXPECT_EQ(count, static_cast<size_t>(showFrames));
    EXPECT_TRUE(std::filesystem::exists(frameFile(directory, showFrames - 1)));
    EXPECT_THAT(testing_support::readFile(directory / "kvorlog.txt"), testing::HasSubstr("kvor closed"));
    struct Probe {
        int frame, x, y, grey;
    };
    // The fade-in adds j * 5.12 (entry j of the overlay's life), the panel
    // covers the top-left 80 %, the skewed panels the screen but a slanted strip.
    const Probe probes[] = {
        {49, 100, 100, 0},          // before the first title
        {60, 100, 100, 51},         // title 1, entry 10
        {60, 600, 450, 0},          // outside its panel
        {200, 300, 200, 255},       // title 1 at full strength
        {525, 600, 400, 127},       // title 2, entry 25
        {1499, 320, 240, 0},        // part one ends between titles
        {1520 + 60, 100, 100, 51},  // part three's first title, entry 10
        {1520 + 20, 100, 100, 0},   // before it
    };
    for (const Probe& probe : probes)
        EXPECT_NEAR(greyAt(frameFile(directory, probe.frame), probe.x, probe.y), probe.grey, 8)
            << "frame " << probe.frame;

    // A late frame alone: the frames before it are not drawn, yet it is the same, byte for byte.
    const CommandRun late = capture("--png late --frames 1600 --jobs 1");
    ASSERT_EQ(late.status, 0) << late.errors;
    const std::string name = frameFile(directory, 1600).filename().string();
    EXPECT_EQ(testing_support::readFile(directory / "late" / name),
              testing_support::readFile(frameFile(directory, 1600)));
    EXPECT_THAT(testing_support::readFile(directory / "kvorlog.txt"), testing::HasSubstr("kvor closed"));

    // Two jobs hand over the same frames as one run does; their video joins to the same frames, in order.
    constexpr int first = 1560, last = 1600;
    const std::string range = " --frames " + std::to_string(first) + "-" + std::to_string(last);
    const CommandRun split = capture("--png split --jobs 2" + range);
    ASSERT_EQ(split.status, 0) << split.errors;
    for (int frame = first; frame <= last; ++frame)
        EXPECT_EQ(testing_support::readFile(directory / "split" / frameFile(directory, frame).filename()),
                  testing_support::readFile(frameFile(directory, frame)))
            << "frame " << frame;
    if (!capture::findProgram("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    double worst[2] = {99.0, 99.0};
    for (int jobs : {1, 2}) {
        const std::string video = "jobs-" + std::to_string(jobs) + ".mkv";
        const CommandRun recorded = capture("--video " + video + " --jobs " + std::to_string(jobs) + range);
        ASSERT_EQ(recorded.status, 0) << recorded.errors;
        const std::vector<std::vector<uint8_t>> decoded = videoFrames(directory / video);
        ASSERT_EQ(decoded.size(), static_cast<size_t>(last - first + 1)) << jobs << " jobs";
        for (int frame = first; frame <= last; ++frame) {
            const std::vector<uint8_t> png = pngPixels(frameFile(directory, frame));
            const std::vector<uint8_t>& shown = decoded[static_cast<size_t>(frame - first)];
            worst[jobs - 1] = std::min(worst[jobs - 1], psnr(shown, png));
            // The title fading in tells the frames apart.
            EXPECT_NEAR(shown[(100 * 640 + 100) * 3], png[(100 * 640 + 100) * 3], 3) << "frame " << frame;
        }
    }
    std::printf("video frames against the PNG frames: worst PSNR %.2f dB with one job, %.2f dB with two\n", worst[0],
                worst[1]);
    EXPECT_GT(worst[1], 40.0);
    EXPECT_NEAR(worst[1], worst[0], 0.5);
}

// Mono samples of the video's sound at 8000 per second, through ffmpeg.
std::vector<int16_t> soundOf(const std::filesystem::path& video) {
    const std::string command = "ffmpeg -v error -i " + quoted(video) + " -vn -ac 1 -ar 8000 -f s16le -";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::vector<int16_t> samples;
    int16_t buffer[4096];
    for (size_t read; pipe && (read = std::fread(buffer, 2, 4096, pipe.get())) > 0;)
        samples.insert(samples.end(), buffer, buffer + read);
    return samples;
}

// A loud tone longer than the show, as its soundtrack.
void writeTone(const std::filesystem::path& datas) {
    capture::PcmSound tone{8000, 1, {}};
    for (int k = 0; k < 8000 * 40; ++k) tone.samples.push_back(static_cast<int16_t>(16000 * std::sin(k * 0.3)));
    testing_support::writeFile(datas / "kvor-theme.wav", capture::waveBytes(tone));
}

// Parts recorded by separate processes as GNU parallel runs them on one
// machine, given in any order, join into the video one process makes.
TEST_F(CaptureShowTest, PartsRecordedApartJoinIntoTheVideoOfOneRun) {
    if (!capture::findProgram("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    ASSERT_TRUE(capture::findProgram("parallel")) << "GNU parallel is not installed (scripts/setup installs it)";
    writeTone(directory / "datas");
    const CommandRun one = capture("--video one.mkv --jobs 1 --frames 1560-1609");
    ASSERT_EQ(one.status, 0) << one.errors;
    const CommandRun parts = runIn(directory.path(), "parallel --will-cite -j2 --sshlogin : " + quoted(KVOR_CAPTURE) +
                                                         " --jobs 1 --frames {} --video part-{#}.mkv"
                                                         " ::: 1560-1579 1580-1599 1600-1609");
    ASSERT_EQ(parts.status, 0) << parts.errors;
    const CommandRun joined = capture("--join part-3.mkv part-1.mkv part-2.mkv --video joined.mkv");
    ASSERT_EQ(joined.status, 0) << joined.errors;
    EXPECT_THAT(joined.errors, testing::HasSubstr("joining 3 parts, frames 1560-1609"));
    const std::vector<std::vector<uint8_t>> wanted = videoFrames(directory / "one.mkv");
    const std::vector<std::vector<uint8_t>> got = videoFrames(directory / "joined.mkv");
    ASSERT_EQ(wanted.size(), 50u);
    ASSERT_EQ(got.size(), wanted.size());
    for (size_t frame = 0; frame < got.size(); ++frame)
        EXPECT_GT(psnr(got[frame], wanted[frame]), 45.0) << "frame " << 1560 + frame;
    const std::vector<int16_t> sound = soundOf(directory / "one.mkv");
    ASSERT_GT(sound.size(), 8000u * 50 / 60);
    EXPECT_EQ(soundOf(directory / "joined.mkv"), sound);
    // The joined video is a part of its own: it joins again with the next frames.
    const CommandRun next = capture("--video next.mkv --jobs 1 --frames 1610-1614");
    ASSERT_EQ(next.status, 0) << next.errors;
    const CommandRun longer = capture("--join joined.mkv next.mkv --video longer.mp4");
    ASSERT_EQ(longer.status, 0) << longer.errors;
    EXPECT_EQ(videoFrames(directory / "longer.mp4").size(), 55u + 180);
}

TEST_F(CaptureShowTest, PartsThatAreNotOneCaptureAreRefusedBeforeAnythingIsWritten) {
    if (!capture::findProgram("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    for (const char* range : {"0-9", "12-19", "5-14"}) {
        const CommandRun part = capture("--video part-" + std::string(range) + ".mkv --jobs 1 --frames " + range);
        ASSERT_EQ(part.status, 0) << part.errors;
    }
    // A video of another program: no record of its frames.
    ASSERT_EQ(runIn(directory.path(),
                    "ffmpeg -v error -f lavfi -i testsrc=size=640x480:rate=60 -t 0.2 "
                    "-c:v libx264 other.mkv")
                  .status,
              0);
    // A part cut short on its way: its record says more frames than it holds.
    ASSERT_EQ(runIn(directory.path(), "ffmpeg -v error -i part-0-9.mkv -map 0 -c copy -frames:v 5 short.mkv").status,
              0);
    const std::pair<const char*, const char*> cases[] = {
        {"part-0-9.mkv part-12-19.mkv",
         "frames 10-11 are in no part, between part-0-9.mkv (frames 0-9) and "
         "part-12-19.mkv (frames 12-19)"},
        {"part-5-14.mkv part-0-9.mkv", "part-0-9.mkv (frames 0-9) and part-5-14.mkv (frames 5-14) overlap"},
        {"part-0-9.mkv other.mkv", "other.mkv: not a video of kvor-capture"},
        {"short.mkv", "short.mkv: holds 5 frames of the 10 its record says"},
        {"part-0-9.mkv missing.mkv", "missing.mkv: no such file"},
    };
    for (const auto& [parts, message] : cases) {
        const CommandRun join = capture(std::string("--join ") + parts + " --video joined.mkv");
        EXPECT_EQ(join.status, 2) << parts;
        EXPECT_THAT(join.errors, testing::HasSubstr(message));
        EXPECT_FALSE(std::filesystem::exists(directory / "joined.mkv")) << parts;
    }
}

// Only the chosen frames, under their numbers in the show; the last is the
// frame the show holds through its closing fade.
TEST_F(CaptureShowTest, PngFramesCanBeChosen) {
    const CommandRun run = capture("--png frames --frames 1499-" + std::to_string(showFrames - 1));
    ASSERT_EQ(run.status, 0) << run.errors;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory / "frames"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), static_cast<size_t>(showFrames - 1499));
    EXPECT_EQ(names.front(), "frame-001499.png");
    EXPECT_EQ(names.back(), frameFile(directory, showFrames - 1).filename().string());
    EXPECT_THAT(run.errors, testing::HasSubstr(std::to_string(showFrames - 1499) + " frames in"));
}

double loudness(const std::vector<int16_t>& samples, double from, double seconds) {
    double sum = 0.0;
    const auto first = static_cast<size_t>(from * 8000), count = static_cast<size_t>(seconds * 8000);
    for (size_t k = first; k < first + count && k < samples.size(); ++k) sum += std::pow(samples[k] / 32768.0, 2);
    return std::sqrt(sum / static_cast<double>(count));
}

TEST_F(CaptureShowTest, VideoHoldsTheLastFrameForTheFadeAndItsSoundFadesOut) {
    if (!capture::findProgram("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    writeTone(directory / "datas");
    const CommandRun run = capture("--video show.mkv");
    ASSERT_EQ(run.status, 0) << run.errors;
    const CommandRun probe =
        runIn(directory.path(),
              "ffprobe -v error -count_frames -select_streams v -show_entries stream=nb_read_frames "
              "-of csv=p=0 show.mkv");
    ASSERT_EQ(probe.status, 0) << probe.errors;
    EXPECT_EQ(std::stoi(probe.output), showFrames + 180);
    const std::vector<int16_t> sound = soundOf(directory / "show.mkv");
    const double seconds = (showFrames + 180) / 60.0;
    // The AAC encoder's priming and padding add up to two frames of 1024 samples.
    EXPECT_NEAR(static_cast<double>(sound.size()) / 8000, seconds, 0.3);
    const double playing = loudness(sound, seconds - 4.0, 0.5);
    EXPECT_GT(playing, 0.2);
    EXPECT_LT(loudness(sound, seconds - 1.6, 0.2), playing * 0.4);
    EXPECT_LT(loudness(sound, seconds - 0.3, 0.25), 0.01);
    EXPECT_THAT(run.errors, testing::HasSubstr("with its soundtrack"));
}

TEST_F(CaptureShowTest, AMissingSceneIsTheShowsFatalStop) {
    std::filesystem::remove(directory / "datas" / "mont.kvs");
    const CommandRun run = capture("--png frames");
    EXPECT_EQ(run.status, 255);
    EXPECT_THAT(run.errors, testing::HasSubstr("mont.kvs"));
}

}  // namespace

// Refused before the show starts: no log, no frame, the system's reason or
// the frames the show has.
TEST_F(CaptureShowTest, AnOutputThatCannotBeWrittenOrFramesPastTheShowAreRefusedBeforeIt) {
    testing_support::writeFile(directory / "taken", "a file where a folder should be");
    std::vector<std::pair<std::string, std::string>> refusals = {
        {"--video missing/show.mp4", "cannot write missing/show.mp4: No such file or directory"},
        {"--png taken/frames", "cannot write taken/frames: Not a directory"},
    };
    const std::string past = std::to_string(showFrames);
    const std::string pastTheEnd = "the show has " + past + " frames, 0 to " + std::to_string(showFrames - 1);
    refusals.push_back({"--png frames --frames " + past, pastTheEnd});
    refusals.push_back({"--video show.mkv --frames " + past + "-" + past + "0", pastTheEnd});
    for (const auto& [arguments, reason] : refusals) {
        const CommandRun run = capture(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_THAT(run.errors, testing::HasSubstr(reason)) << arguments;
        EXPECT_FALSE(std::filesystem::exists(directory / "kvorlog.txt")) << arguments;
    }
}
