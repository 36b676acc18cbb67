// The demo with a timeline installed: asked before every frame, it may jump
// the show, which plays on from there as if it had played up to it; the music,
// the fade and the teardown stay as they are.

#include "app/show_timeline.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "app/demo_driver.h"
#include "base/process_state.h"
#include "platform/player_link.h"
#include "platform/test_seams.h"
#include "platform/tool_interface.h"
#include "tests/support/demo_data.h"
#include "tests/support/null_display.h"
#include "tests/support/recording_player.h"
#include "tests/support/test_support.h"

using testing::ElementsAre;
using testing_support::DemoDirectory;
using testing_support::DemoScenes;
using testing_support::LogCapture;
using testing_support::NullDriverScope;
using testing_support::RecordingPlayer;

namespace {

// Per presented frame: the overlays' quads drawn, and the scene's frame (its
// triangle steps one unit a frame away from depth 5); "C" for each clear.
struct Presented {
    std::vector<std::string> frames;  // "scene frame/overlays", e.g. "39/1"
    std::string clears;               // C per clear, F per flip, in order
};

Presented presented() {
    Presented seen;
    float sceneFrame = -1;
    int overlays = 0;
    for (const platform::RecordedCall& call : platform::nullDriverCalls()) {
        const std::string method(call.method);
        if (method == "DrawIndexedPrimitive" && call.arguments.at(1) == D3DFVF_TLVERTEX) ++overlays;
        if (method == "DrawPrimitive" && sceneFrame < 0) sceneFrame = call.payloadAs<float>().at(2) - 5.0f;
        if (method == "Clear") seen.clears += 'C';
        if (method != "Flip") continue;
        seen.clears += 'F';
        seen.frames.push_back(std::to_string(static_cast<int>(sceneFrame)) + "/" + std::to_string(overlays));
        sceneFrame = -1;
        overlays = 0;
    }
    return seen;
}

}  // namespace

TEST(ShowTimeline, JumpsBetweenFramesAndThePartsFollow) {
    LogCapture log;
    NullDriverScope driver;
    std::vector<WPARAM> sent;
    // Part one 1500 frames, part two mont's 100 (from its frame 1), part three salle's 10 - 5.
    DemoDirectory datas(DemoScenes{{0, 9}, {0, 99, true}, {0, 9, true}});
    platform::setPlayerFinder([&] { return std::make_unique<RecordingPlayer>(sent); });
    std::vector<int64_t> askedAt;
    setShowTimeline([&](::Show& show) {
        askedAt.push_back(show.position().showFrame);
        if (askedAt.size() == 1) show.jumpTo(1500 + 38);
        if (askedAt.size() == 4) show.jumpTo(show.frameCount() - 2);
    });
    platform::clearNullDriverCalls();
    std::chrono::steady_clock::time_point fadeTime{};
    EXPECT_EQ(runDemo([&] { return fadeTime += std::chrono::milliseconds(1); }), 0);
    setShowTimeline({});
    platform::setPlayerFinder({});

    // Asked once more at the end: the show's length.
    EXPECT_THAT(askedAt, ElementsAre(0, 1539, 1540, 1541, 1604, 1605));
    const Presented seen = presented();
    // Part two's frames 38 to 40 (mont's 39 to 41; accelerate's title from
    // the 41st on), then part three's last two (salle's 4 and 5, no title).
    EXPECT_THAT(seen.frames, ElementsAre("39/0", "40/0", "41/1", "4/0", "5/0"));
    // Parts one and two clear after the flip, part three before drawing.
    EXPECT_EQ(seen.clears, "CFCFCFCCFCF");
    EXPECT_EQ(sent.size(), 100u + 1u + 100u + 1u);
    EXPECT_FALSE(demoRunning);
    demoRunning = true;
}

// Once over, the show is asked once more and may be taken back: it plays on
// from there, and ends when it is over again and left so.
TEST(ShowTimeline, TakesTheShowBackFromItsEnd) {
    LogCapture log;
    NullDriverScope driver;
    std::vector<WPARAM> sent;
    DemoDirectory datas(DemoScenes{{0, 9}, {0, 9, true}, {0, 9, true}});
    platform::setPlayerFinder([&] { return std::make_unique<RecordingPlayer>(sent); });
    int ends = 0;
    setShowTimeline([&](::Show& show) {
        if (show.position().showFrame == 0) show.jumpTo(show.frameCount() - 1);
        if (show.over() && ++ends == 1) show.jumpTo(1500 + 8);
    });
    platform::clearNullDriverCalls();
    std::chrono::steady_clock::time_point fadeTime{};
    EXPECT_EQ(runDemo([&] { return fadeTime += std::chrono::milliseconds(1); }), 0);
    setShowTimeline({});
    platform::setPlayerFinder({});

    EXPECT_EQ(ends, 2);
    // The show's last frame (salle's 5), then part two's last two (mont's 9,
    // then its 10, which wraps to 0) and part three whole (salle's 1 to 5).
    EXPECT_THAT(presented().frames, ElementsAre("5/0", "9/0", "0/0", "1/0", "2/0", "3/0", "4/0", "5/0"));
    demoRunning = true;
}
