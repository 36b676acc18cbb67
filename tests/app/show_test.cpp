// The show put at a frame without drawing: where it stands, and that the frame
// it then draws is the one the show draws when it gets there by playing.

#include "app/show.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "app/demo_show.h"
#include "platform/tool_interface.h"
#include "render/renderer.h"
#include "tests/support/demo_data.h"
#include "tests/support/null_display.h"
#include "tests/support/test_support.h"

using testing_support::DemoDirectory;
using testing_support::DemoScenes;

namespace {

// A drawn frame as the device saw it: the first scene vertex's camera depth
// (5 + the scene frame for the moving triangle), the overlays' first corners.
struct DrawnFrame {
    std::optional<float> sceneDepth;
    std::vector<std::pair<float, float>> overlayCorners;
    std::string cycle;  // Clear, BeginScene, EndScene, Flip as C, B, E, F
    bool operator==(const DrawnFrame&) const = default;
};

DrawnFrame lastFrameDrawn() {
    DrawnFrame frame;
    for (const platform::RecordedCall& call : platform::nullDriverCalls()) {
        const std::string method(call.method);
        if (method == "DrawPrimitive" && !frame.sceneDepth) frame.sceneDepth = call.payloadAs<float>().at(2);
        if (method == "DrawIndexedPrimitive") {
            const auto corner = call.payloadAs<D3DTLVERTEX>().at(0);
            frame.overlayCorners.emplace_back(corner.sx, corner.sy);
        }
        if (method == "Clear" || method == "BeginScene" || method == "EndScene" || method == "Flip")
            frame.cycle += method.front();
    }
    return frame;
}

class ShowJump : public testing::Test {
protected:
    // tores starts at 3 of 10 frames, mont has 20, salle 12 (7 played).
    ShowJump() : datas(DemoScenes{{3, 9, true}, {0, 19, true}, {0, 11, true}}) {
        renderer.setUp();
        renderer.clear();
        SetCurrentDirectoryA("datas");
        demo = loadDemoShow(renderer);
    }
    ~ShowJump() override {
        demo.reset();
        testing_support::releaseDisplay();
    }

    DrawnFrame play() {
        platform::clearNullDriverCalls();
        demo->show.playFrame(renderer);
        return lastFrameDrawn();
    }

    testing_support::LogCapture log;
    testing_support::NullDriverScope driver;
    DemoDirectory datas;
    Renderer renderer;
    std::unique_ptr<DemoShow> demo;
};

}  // namespace

TEST_F(ShowJump, PositionsWorkedOutByHand) {
    struct Case {
        int64_t showFrame;
        size_t part;
        int32_t partFrame, sceneFrame;
    };
    Show& show = demo->show;
    ASSERT_EQ(show.frameCount(), 1500 + 20 + 7);
    // Part one: tores from 3, wrapping at 10; parts two and three from 1.
    for (const Case& c : {Case{0, 0, 0, 3}, Case{6, 0, 6, 9}, Case{7, 0, 7, 0}, Case{1499, 0, 1499, 2},
                          Case{1500, 1, 0, 1}, Case{1518, 1, 18, 19}, Case{1519, 1, 19, 0}, Case{1520, 2, 0, 1},
                          Case{1526, 2, 6, 7}, Case{1527, 3, 0, 0}, Case{99999, 3, 0, 0}, Case{-5, 0, 0, 3}}) {
        show.jumpTo(c.showFrame);
        const ShowPosition at = show.position();
        EXPECT_EQ(at.part, c.part) << c.showFrame;
        EXPECT_EQ(at.partFrame, c.partFrame) << c.showFrame;
        if (c.part < 3) {
            EXPECT_EQ(at.sceneFrame, c.sceneFrame) << c.showFrame;
        }
        EXPECT_EQ(at.showFrame, std::clamp<int64_t>(c.showFrame, 0, 1527)) << c.showFrame;
    }
    show.jumpTo(1527);
    EXPECT_TRUE(show.over());
    EXPECT_EQ(show.partStart(1), 1500);
    EXPECT_EQ(show.partStart(2), 1520);
}

TEST_F(ShowJump, AJumpDrawsNothingAndLandsOnTheFramePlayingReaches) {
    std::vector<DrawnFrame> played;
    while (!demo->show.over()) played.push_back(play());
    ASSERT_EQ(played.size(), 1527u);
    // Across every part's start and end, backwards and forwards.
    for (int64_t target : {1526, 0, 1519, 1520, 1499, 7, 1500, 1521, 3}) {
        platform::clearNullDriverCalls();
        demo->show.jumpTo(target);
        EXPECT_TRUE(platform::nullDriverCalls().empty()) << target;
        EXPECT_EQ(play(), played[static_cast<size_t>(target)]) << target;
        if (target + 1 < 1527) {
            EXPECT_EQ(play(), played[static_cast<size_t>(target) + 1]) << target;
        }
    }
}

TEST_F(ShowJump, PartsWithoutFramesArePassedOver) {
    DemoShow& d = *demo;
    d.mont->frameCount = 0;
    d.salle->frameCount = 5;
    d.show = demoParts(d);
    EXPECT_EQ(d.show.frameCount(), 1500);
    d.show.jumpTo(1500);
    EXPECT_TRUE(d.show.over());
    d.show.jumpTo(1499);
    play();
    EXPECT_TRUE(d.show.over());
}
