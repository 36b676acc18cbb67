// The whole show drawn off screen: small generated scenes and white title
// images, one frame of each part read back as pixels. The frames looked at are
// also left as PNG files in "show-frames" beside the test program.

#include <gtest/gtest.h>

#include <chrono>
#include <map>

#include "app/demo_driver.h"
#include "overlay/overlay.h"
#include "overlay/overlay_effects.h"
#include "platform/player_link.h"
#include "platform/tool_interface.h"
#include "tests/support/capture_display.h"
#include "tests/support/demo_data.h"
#include "tests/support/null_display.h"
#include "tests/support/test_support.h"

using testing_support::CaptureDisplay;
using testing_support::near;
using testing_support::pixelAt;
using testing_support::quantised;
using testing_support::Rgb;

namespace {

constexpr int32_t montFrames = 260;
constexpr int32_t salleFrames = 300;
constexpr uint32_t partTwo = 1500;
constexpr uint32_t partThree = partTwo + montFrames;

// The colour pulseTopLeft gives frame j of its life.
int pulseGrey(size_t j) {
    Overlay overlay;
    overlay.duration = 210;
    overlay.allocateCornerTables();
    pulseTopLeft(overlay);
    return static_cast<int>(overlay.corners[0][j].colour & 0xFF);
}

}  // namespace

TEST(ShowCaptured, EachPartWithItsTitles) {
    if (!CaptureDisplay::available()) GTEST_SKIP() << "no off-screen OpenGL context on this machine";
    testing_support::LogCapture log;
    // No player: the user's own session bus is left alone.
    platform::setPlayerFinder([]() -> std::unique_ptr<platform::PlayerLink> { return nullptr; });
    const std::filesystem::path saved = std::filesystem::absolute("show-frames");
    std::filesystem::create_directories(saved);
    std::map<uint32_t, platform::CapturedFrame> kept;
    const platform::FrameSink png = platform::pngFrameSink(saved);
    uint32_t asked = 0;
    size_t received = 0;
    platform::setCaptureSink(
        [&](const platform::CapturedFrame& frame) {
            ++received;
            kept[frame.index] = frame;
            png(frame);
        },
        [&](uint32_t index) {
            EXPECT_EQ(index, asked++);  // every frame is asked about, in order
            return index == 100 || index == partTwo + 100 || index == partThree + 100;
        });
    {
        testing_support::DemoDirectory datas({{0, 9}, {0, montFrames - 1}, {0, salleFrames - 1}});
        testing_support::requestDisplay(&platform::captureDriverGuid());
        // The fade holds no frame: its three seconds go by a millisecond a reading.
        std::chrono::steady_clock::time_point fadeTime{};
        EXPECT_EQ(runDemo([&] { return fadeTime += std::chrono::milliseconds(1); }), 0);
        testing_support::releaseDisplay();
    }
    platform::setCaptureSink({});
    platform::setPlayerFinder({});
    EXPECT_EQ(asked, partThree + salleFrames - 5);
    EXPECT_EQ(received, 3u);  // the frames refused are never read back
    ASSERT_EQ(kept.size(), 3u);

    const Rgb white{255, 255, 255}, black{0, 0, 0};
    // Parts one and three, frame 100: the panel of the top-left 80 % at full
    // strength (its 51st frame), nothing over the rest.
    for (uint32_t index : {100u, partThree + 100}) {
        const platform::CapturedFrame& frame = kept.at(index);
        EXPECT_TRUE(near(pixelAt(frame, 200, 150), white, quantised)) << index;
        EXPECT_TRUE(near(pixelAt(frame, 505, 380), white, quantised)) << index;
        EXPECT_TRUE(near(pixelAt(frame, 600, 20), black, quantised)) << index;
        EXPECT_TRUE(near(pixelAt(frame, 20, 460), black, quantised)) << index;
    }
    // Part two, frame 100: the top-left quarter, on the 61st frame of its life, in its grey.
    const platform::CapturedFrame& frame = kept.at(partTwo + 100);
    const int g = pulseGrey(60);
    EXPECT_TRUE(near(pixelAt(frame, 160, 120), Rgb{g, g, g}, quantised)) << g;
    EXPECT_TRUE(near(pixelAt(frame, 320, 300), white, quantised));  // the scene's triangle
    EXPECT_TRUE(near(pixelAt(frame, 480, 360), black, quantised));
    EXPECT_TRUE(near(pixelAt(frame, 20, 400), black, quantised));
}
