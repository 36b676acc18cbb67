// kvor-capture --scene: one scene alone, its frame N in PNG frame-N, drawn as
// kvor-inspect draws that frame of the scene; no fade and no sound.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "tests/support/shell_command.h"
#include "tests/support/test_support.h"
#include "tests/tools/png_pixels.h"
#include "tests/support/x_session.h"
#include "tools/capture/child_process.h"
#include "tools/kvs/kvs_writer.h"

namespace {

using testing_support::CommandRun;
using testing_support::quoted;
using testing_support::runIn;
using testing_support::ScratchDirectory;

std::vector<std::string> fileNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class CaptureSceneTest : public testing::Test {
protected:
    CommandRun capture(const std::string& arguments) const {
        return runIn(directory.path(), quoted(KVOR_CAPTURE) + " " + arguments);
    }
    // A blank scene of that many frames in the test directory.
    std::filesystem::path blankScene(int32_t frames) const {
        kvs::SceneFile blank;
        blank.name = "blank";
        blank.lastFrame = frames - 1;
        const auto file = directory / "blank.kvs";
        kvs::saveSceneFile(blank, file);
        return file;
    }

    ScratchDirectory directory;
};

}  // namespace

TEST_F(CaptureSceneTest, FrameNIsTheScenesFrameNAsInspectDrawsIt) {
    // The demo's mont scene, its textures beside it; inspect draws from there.
    const std::filesystem::path datas = KVOR_DEMO_DATAS;
    const CommandRun run = capture("--scene " + quoted(datas / "mont.kvs") + " --png frames --frames 300-301");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_THAT(fileNames(directory / "frames"), testing::ElementsAre("frame-000300.png", "frame-000301.png"));
    for (int frame : {300, 301}) {
        const auto drawn = directory / ("inspect-" + std::to_string(frame) + ".png");
        const CommandRun inspect =
            runIn(datas, quoted(KVOR_INSPECT) + " scene mont.kvs --render " + std::to_string(frame) + " --png " +
                             quoted(drawn));
        ASSERT_EQ(inspect.status, 0) << inspect.errors;
        const std::vector<uint8_t> captured =
            pngPixels(directory / "frames" / ("frame-000" + std::to_string(frame) + ".png"));
        ASSERT_FALSE(captured.empty());
        EXPECT_TRUE(captured == pngPixels(drawn)) << "frame " << frame;
    }
    const std::vector<uint8_t> next = pngPixels(directory / "frames/frame-000301.png");
    EXPECT_FALSE(next == pngPixels(directory / "inspect-300.png")) << "the scene moves between frames";
}

TEST_F(CaptureSceneTest, EveryFrameFromZeroToTheLastWithNoTitlesNorFade) {
    blankScene(12);
    const CommandRun run = capture("--scene blank.kvs --png frames --jobs 2");
    ASSERT_EQ(run.status, 0) << run.errors;
    const std::vector<std::string> names = fileNames(directory / "frames");
    ASSERT_EQ(names.size(), 12u);
    EXPECT_EQ(names.front(), "frame-000000.png");
    EXPECT_EQ(names.back(), "frame-000011.png");
    // A blank scene without titles is black.
    const std::vector<uint8_t> pixels = pngPixels(directory / "frames" / names.back());
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(*std::max_element(pixels.begin(), pixels.end()), 0);
}

TEST_F(CaptureSceneTest, ABadSceneOrFramesPastItsEndAreRefusedBeforeTheStart) {
    std::ofstream(directory / "damaged.kvs") << "kvor9 not a scene";
    struct Case {
        std::string arguments, message;
    };
    blankScene(12);
    for (const Case& c : {Case{"--scene damaged.kvs --png frames", "damaged.kvs is not a scene file that can be read"},
                          Case{"--scene missing.kvs --png frames", "missing.kvs is not a scene file that can be read"},
                          Case{"--scene blank.kvs --png frames --frames 12", "the scene has 12 frames, 0 to 11"}}) {
        const CommandRun run = capture(c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_THAT(run.errors, testing::HasSubstr(c.message));
        EXPECT_TRUE(!std::filesystem::exists(directory / "frames") || fileNames(directory / "frames").empty())
            << c.arguments;
    }
    blankScene(0);
    EXPECT_THAT(capture("--scene blank.kvs --png frames").errors, testing::HasSubstr("has no frame"));
}

TEST_F(CaptureSceneTest, VideoHasTheScenesFramesAndNoSound) {
    if (!capture::findProgram("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    blankScene(30);
    const CommandRun run = capture("--scene blank.kvs --video scene.mkv --jobs 1");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_THAT(run.errors, testing::HasSubstr("30 frames (0:00.5), no soundtrack"));
    const auto probe = testing_support::commandOutput(
        "ffprobe -v error -count_frames -show_entries stream=codec_type,nb_read_frames -of csv=p=0 " +
        quoted(directory / "scene.mkv"));
    ASSERT_TRUE(probe);
    EXPECT_EQ(*probe, "video,30\n");
}
