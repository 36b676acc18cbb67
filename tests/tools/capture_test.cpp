// kvor-capture's parts: its command line, the show clock, the soundtrack its
// player renders from the commands, the YUV frames, the progress, the length
// of a show read from the scene headers.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/support/test_support.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/child_process.h"
#include "tools/capture/frame_worker.h"
#include "tools/capture/job_split.h"
#include "tools/capture/output_check.h"
#include "tools/capture/progress_meter.h"
#include "tools/capture/show_clock.h"
#include "tools/capture/show_length.h"
#include "tools/capture/soundtrack_player.h"
#include "tools/capture/yuv_frame.h"
#include "tools/kvs/kvs_writer.h"

namespace {

using capture::TimedCommand;
using std::chrono::milliseconds;
using testing_support::ScratchDirectory;

TEST(CaptureOptions, ChoosesOneOutput) {
    struct Case {
        std::vector<std::string> arguments;
        const char* png;
        const char* video;
        const char* error;
    };
    const Case cases[] = {
        {{"--png", "frames"}, "frames", nullptr, nullptr},
        {{"--video", "show.mp4"}, nullptr, "show.mp4", nullptr},
        {{"--video", "out/show.mkv"}, nullptr, "out/show.mkv", nullptr},
        {{"--video", "show.avi"}, nullptr, nullptr, "the video file must end in .mp4 or .mkv"},
        {{}, nullptr, nullptr, "give either --png DIR or --video FILE"},
        {{"--png", "a", "--video", "b.mp4"}, nullptr, nullptr, "give either --png DIR or --video FILE"},
        {{"--png"}, nullptr, nullptr, "--png needs a value"},
        {{"--fast", "x"}, nullptr, nullptr, "unknown argument --fast"},
        {{"show.mp4"}, nullptr, nullptr, "unknown argument show.mp4"},
        {{"--png", "a", "--stretch"}, nullptr, nullptr, "--size and --stretch go with --enhanced"},
        {{"--png", "a", "--enhanced", "--size", "640"},
         nullptr,
         nullptr,
         "the size must be WIDTHxHEIGHT, each from 16 to 8192"},
        {{"--video", "show.mp4", "--frames", "3", "--jobs", "4"}, nullptr, "show.mp4", nullptr},
        {{"--png", "a", "--jobs", "0"}, nullptr, nullptr, "the jobs must be a number from 1 to 256"},
        {{"--png", "a", "--jobs", "2x"}, nullptr, nullptr, "the jobs must be a number from 1 to 256"},
        {{"--png", "a", "--frames", "9-3"},
         nullptr,
         nullptr,
         "the frames must be FIRST or FIRST-LAST, FIRST not after LAST"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const capture::ParsedOptions parsed = capture::parseOptions(c.arguments);
        if (c.error != nullptr) {
            EXPECT_FALSE(parsed.options);
            EXPECT_EQ(parsed.error, c.error);
            continue;
        }
        ASSERT_TRUE(parsed.options);
        EXPECT_EQ(parsed.options->pngDirectory.value_or("-"), c.png != nullptr ? c.png : "-");
        EXPECT_EQ(parsed.options->videoFile.value_or("-"), c.video != nullptr ? c.video : "-");
    }
}

TEST(CaptureOptions, FrameRanges) {
    using capture::FrameRange;
    const std::pair<const char*, std::optional<std::pair<uint32_t, uint32_t>>> cases[] = {
        {"0", std::pair{0u, 0u}},   {"4794", std::pair{4794u, 4794u}}, {"10-20", std::pair{10u, 20u}},
        {"7-7", std::pair{7u, 7u}}, {"4294967295", std::pair{4294967295u, 4294967295u}},
        {"", std::nullopt},         {"-5", std::nullopt},              {"5-", std::nullopt},
        {"20-10", std::nullopt},    {"1-2-3", std::nullopt},           {"+3", std::nullopt},
        {"3 ", std::nullopt},       {"x", std::nullopt},               {"4294967296", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        const std::optional<FrameRange> range = capture::parseFrameRange(text);
        ASSERT_EQ(range.has_value(), expected.has_value());
        if (!range) continue;
        EXPECT_EQ(range->first, expected->first);
        EXPECT_EQ(range->last, expected->second);
    }
    const FrameRange range{10, 20};
    EXPECT_FALSE(range.contains(9));
    EXPECT_TRUE(range.contains(10));
    EXPECT_TRUE(range.contains(20));
    EXPECT_FALSE(range.contains(21));
}

TEST(CaptureJobs, RunsOfConsecutiveFramesAsEvenAsCanBe) {
    using capture::FrameRange;
    const auto runs = [](FrameRange range, unsigned jobs) {
        std::vector<std::pair<uint32_t, uint32_t>> pairs;
        for (const FrameRange& run : capture::splitFrames(range, jobs)) pairs.emplace_back(run.first, run.last);
        return pairs;
    };
    using Runs = std::vector<std::pair<uint32_t, uint32_t>>;
    EXPECT_EQ(runs({0, 4794}, 1), (Runs{{0, 4794}}));
    EXPECT_EQ(runs({0, 4794}, 2), (Runs{{0, 2397}, {2398, 4794}}));
    EXPECT_EQ(runs({10, 19}, 3), (Runs{{10, 13}, {14, 16}, {17, 19}}));
    EXPECT_EQ(runs({5, 6}, 4), (Runs{{5, 5}, {6, 6}}));  // no job without a frame
    EXPECT_EQ(runs({4294967290u, 4294967295u}, 2), (Runs{{4294967290u, 4294967292u}, {4294967293u, 4294967295u}}));
}

// Frames are written in order on the worker's thread; after a failed write
// nothing more is written and the failure is told.
TEST(CaptureJobs, FramesWrittenInOrderUntilAWriteFails) {
    std::vector<uint32_t> written;
    {
        capture::FrameWorker worker(
            [&](const platform::CapturedFrame& frame) {
                written.push_back(frame.index);
                return true;
            },
            2);
        for (uint32_t index = 0; index < 50; ++index) EXPECT_TRUE(worker.add({index, 1, 1, {0, 0, 0}}));
        EXPECT_TRUE(worker.finish());
    }
    ASSERT_EQ(written.size(), 50u);
    for (uint32_t index = 0; index < 50; ++index) EXPECT_EQ(written[index], index);

    written.clear();
    capture::FrameWorker failing([&](const platform::CapturedFrame& frame) {
        written.push_back(frame.index);
        return frame.index < 3;
    });
    for (uint32_t index = 0; index < 4; ++index) failing.add({index, 1, 1, {}});
    EXPECT_FALSE(failing.finish());
    EXPECT_TRUE(failing.failed());
    EXPECT_FALSE(failing.add({9, 1, 1, {}}));
    EXPECT_EQ(written, (std::vector<uint32_t>{0, 1, 2, 3}));
}

TEST(CaptureOptions, EnhancedFrameSizeAndStretch) {
    const auto enhanced = [](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--video", "a.mp4", "--enhanced"});
        const capture::ParsedOptions parsed = capture::parseOptions(arguments);
        return parsed.options ? parsed.options->enhanced : std::nullopt;
    };
    const auto standard = enhanced({});
    ASSERT_TRUE(standard);
    EXPECT_EQ(standard->width, 1920u);
    EXPECT_EQ(standard->height, 1080u);
    EXPECT_FALSE(standard->stretch);
    const auto sized = enhanced({"--size", "1280x720", "--stretch"});
    ASSERT_TRUE(sized);
    EXPECT_EQ(sized->width, 1280u);
    EXPECT_EQ(sized->height, 720u);
    EXPECT_TRUE(sized->stretch);
    EXPECT_FALSE(capture::parseOptions({"--png", "a"}).options->enhanced);
    for (const char* bad : {"1280x", "x720", "1280x720x", "8x8", "9000x100", "1280*720"})
        EXPECT_FALSE(capture::parseSize(bad)) << bad;
}

TEST(CaptureClock, FramesAtSixtyPerSecondThenAMillisecondForEachReadingOfTheFade) {
    capture::ShowClock clock;
    EXPECT_EQ(clock.seconds(), 0.0);
    clock.framePresented();
    EXPECT_EQ(clock.seconds(), 0.0);
    // However fast or slow the frames came, show time counts them.
    for (int k = 1; k < 120; ++k) clock.framePresented();
    EXPECT_NEAR(clock.seconds(), 119.0 / 60, 1e-9);
    const auto first = clock.fadeReading();
    for (int k = 1; k < 1500; ++k) clock.fadeReading();
    EXPECT_NEAR(clock.seconds(), 119.0 / 60 + 1.5, 1e-9);
    EXPECT_EQ(clock.fadeReading() - first, std::chrono::milliseconds(1500));
    EXPECT_EQ(clock.framesPresented(), 120u);
}

// A constant soundtrack of 1000 at 100 frames per second, two channels.
capture::PcmSound constantSound(double seconds) {
    return {100, 2, std::vector<int16_t>(static_cast<size_t>(seconds * 100) * 2, 1000)};
}

std::vector<TimedCommand> repeated(double at, WPARAM id, int times) {
    return std::vector<TimedCommand>(times, {at, id});
}

TEST(CaptureSoundtrack, PlaysFromPlayAtTheVolumeOfTheCommandsUntilClose) {
    std::vector<TimedCommand> commands = repeated(0.0, platform::playerVolumeUp, 100);
    commands.push_back({0.5, platform::playerPlay});
    for (const auto& down : repeated(1.0, platform::playerVolumeDown, 50)) commands.push_back(down);
    commands.push_back({1.5, platform::playerClose});
    commands.push_back({1.7, platform::playerPlay});
    const capture::PcmSound out = capture::renderPlayback(constantSound(10.0), commands, 2.0);
    ASSERT_EQ(out.samples.size(), 400u);
    const auto at = [&](double seconds) { return out.samples[static_cast<size_t>(seconds * 100) * 2 + 1]; };
    EXPECT_EQ(at(0.49), 0);
    EXPECT_EQ(at(0.5), 1000);
    EXPECT_EQ(at(0.99), 1000);
    EXPECT_EQ(at(1.0), 125);  // volume 0.5, gain 0.5 cubed
    EXPECT_EQ(at(1.49), 125);
    EXPECT_EQ(at(1.5), 0);
    EXPECT_EQ(at(1.8), 0);
}

TEST(CaptureSoundtrack, FadesToSilenceAndStopsAtTheSoundtracksEnd) {
    std::vector<TimedCommand> commands = {{0.0, platform::playerPlay}};
    for (int k = 0; k < 100; ++k) commands.push_back({0.2 + k * 0.01, platform::playerVolumeDown});
    const capture::PcmSound fading = capture::renderPlayback(constantSound(10.0), commands, 1.5);
    EXPECT_EQ(fading.samples[10 * 2], 1000);
    EXPECT_EQ(fading.samples[120 * 2], 0);
    const capture::PcmSound shortSound =
        capture::renderPlayback(constantSound(0.3), {{0.0, platform::playerPlay}}, 1.0);
    EXPECT_EQ(shortSound.samples[29 * 2], 1000);
    EXPECT_EQ(shortSound.samples[30 * 2], 0);
}

TEST(CaptureSoundtrack, WaveFilesRoundTripAndOtherKindsAreRefused) {
    ScratchDirectory directory;
    const capture::PcmSound sound{22050, 1, {-32768, 0, 5, 32767}};
    testing_support::writeFile(directory / "a.wav", capture::waveBytes(sound));
    const auto read = capture::readWave(directory / "a.wav");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->sampleRate, 22050);
    EXPECT_EQ(read->channels, 1);
    EXPECT_EQ(read->samples, sound.samples);
    std::vector<uint8_t> eightBit = capture::waveBytes(sound);
    eightBit[34] = 8;
    testing_support::writeFile(directory / "b.wav", eightBit);
    testing_support::writeFile(directory / "c.wav", std::string("RIFX...."));
    EXPECT_FALSE(capture::readWave(directory / "b.wav"));
    EXPECT_FALSE(capture::readWave(directory / "c.wav"));
    EXPECT_FALSE(capture::readWave(directory / "missing.wav"));
}

TEST(CaptureSoundtrack, WaveChunksBeforeTheDataAreSkipped) {
    const capture::PcmSound sound{8000, 2, {1, -2, 3, -4}};
    std::vector<uint8_t> bytes = capture::waveBytes(sound);
    // A LIST chunk of odd length (padded to even) between "fmt " and "data".
    const std::vector<uint8_t> list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    bytes.insert(bytes.begin() + 36, list.begin(), list.end());
    ScratchDirectory directory;
    testing_support::writeFile(directory / "list.wav", bytes);
    const auto read = capture::readWave(directory / "list.wav");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->samples, sound.samples);
}

TEST(CaptureChildProcess, FindsProgramsRunsThemAndSurvivesOneThatStopsReading) {
    EXPECT_TRUE(capture::findProgram("sh"));
    EXPECT_FALSE(capture::findProgram("kvor-no-such-program"));
    EXPECT_EQ(capture::runProgram({"sh", "-c", "exit 3"}), 3);
    EXPECT_EQ(capture::runProgram({"kvor-no-such-program"}), -1);
    capture::ChildProcess reader({"sh", "-c", "head -c 10 >/dev/null"});
    const std::vector<uint8_t> block(1 << 20, 7);
    bool accepted = true;
    for (int k = 0; k < 16 && accepted; ++k) accepted = reader.write(block.data(), block.size());
    EXPECT_FALSE(accepted);  // a broken pipe, not the end of this process
    EXPECT_EQ(reader.finish(), 0);
    EXPECT_THROW(capture::ChildProcess({"kvor-no-such-program"}), std::runtime_error);
}

TEST(CaptureYuv, Bt601LimitedRangeWithAveragedChroma) {
    struct Case {
        uint8_t r, g, b, y, u, v;
    };
    // Reference values of BT.601 in limited range.
    const Case cases[] = {{0, 0, 0, 16, 128, 128},  {255, 255, 255, 235, 128, 128}, {255, 0, 0, 81, 90, 240},
                          {0, 255, 0, 145, 54, 34}, {0, 0, 255, 41, 240, 110},      {128, 128, 128, 126, 128, 128}};
    for (const Case& c : cases) {
        const std::vector<uint8_t> rgb = {c.r, c.g, c.b, c.r, c.g, c.b, c.r, c.g, c.b, c.r, c.g, c.b};
        EXPECT_THAT(capture::yuv420(2, 2, rgb), testing::ElementsAre(c.y, c.y, c.y, c.y, c.u, c.v))
            << int(c.r) << " " << int(c.g) << " " << int(c.b);
    }
    // 3 x 1: chroma planes of 2 x 1, the last column's block repeats its pixel.
    const std::vector<uint8_t> row = {255, 255, 255, 255, 255, 255, 0, 0, 0};
    EXPECT_THAT(capture::yuv420(3, 1, row), testing::ElementsAre(235, 235, 16, 128, 128, 128, 128));
}

TEST(CaptureProgress, StatusAndPlainLinesEveryFewSeconds) {
    std::FILE* output = std::tmpfile();
    ASSERT_NE(output, nullptr);
    capture::ProgressMeter meter(4795, false, output);
    const auto start = capture::ProgressMeter::Clock::now();
    for (int k = 1; k <= 1000; ++k) meter.frameDone(start + milliseconds(k * 10));
    EXPECT_EQ(meter.status(start + milliseconds(10000)), "1000/4795 frames, 100.0 fps, 0:38 left");
    meter.finish(start + milliseconds(10000));
    std::rewind(output);
    char text[4096] = {};
    const size_t length = std::fread(text, 1, sizeof text - 1, output);
    std::fclose(output);
    // A line at 5 s, one at 10 s, and the last one.
    EXPECT_EQ(std::count(text, text + length, '\n'), 3);
    EXPECT_THAT(std::string(text), testing::StartsWith("kvor-capture: 500/4795 frames"));
    EXPECT_EQ(capture::ProgressMeter(0, false).status(start), "0 frames, 0.0 fps");
}

TEST(CaptureShowLength, ReadFromTheSceneHeaders) {
    ScratchDirectory directory;
    const auto scene = [&](const char* name, int32_t lastFrame) {
        kvs::SceneFile file;
        file.name = name;
        file.lastFrame = lastFrame;
        kvs::saveSceneFile(file, directory / name);
    };
    scene("tores.kvs", 99);
    scene("mont.kvs", 999);
    scene("salle.kvs", 1199);
    EXPECT_EQ(capture::sceneFrameCount(directory / "mont.kvs"), 1000);
    EXPECT_EQ(capture::showFrames(directory.path()), 1500u + 1000u + 1195u);
    scene("salle.kvs", 2);
    scene("mont.kvs", -7);
    EXPECT_EQ(capture::showFrames(directory.path()), 1500u);
    testing_support::writeFile(directory / "tores.kvs", std::string("kvor002name"));
    EXPECT_EQ(capture::sceneFrameCount(directory / "tores.kvs"), std::nullopt);
    EXPECT_EQ(capture::showFrames(directory.path()), 0u);
}

}  // namespace

TEST(CaptureOutput, AWritableOutputIsCheckedWithoutLeavingAnythingBehind) {
    ScratchDirectory scratch;
    capture::CaptureOptions png;
    png.pngDirectory = scratch / "new" / "frames";
    EXPECT_EQ(capture::outputProblem(png), std::nullopt);
    EXPECT_TRUE(std::filesystem::is_empty(*png.pngDirectory));
    capture::CaptureOptions video;
    video.videoFile = scratch / "show.mkv";
    EXPECT_EQ(capture::outputProblem(video), std::nullopt);
    video.videoFile = scratch / "new";
    EXPECT_EQ(capture::outputProblem(video), (scratch / "new").string() + ": Is a directory");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), {}), 1);
}
