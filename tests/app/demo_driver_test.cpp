// The whole show on the null driver with small generated scenes: which frames
// each part plays, which overlays each frame draws, the frame cycle's order,
// the music commands and the teardown.

#include "app/demo_driver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "base/display_state.h"
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

// The effect that placed an overlay's quad, told by its corners in pixels.
enum class Shape { panel, skewed, bottomHalf, swing, topLeftQuarter, bottomRightQuarter };

Shape shapeOf(const D3DTLVERTEX* v) {
    if (v[0].sx == 0 && v[0].sy == 0 && v[2].sx == 512 && v[2].sy == 384) return Shape::panel;
    if (v[1].sx == 128 && v[3].sy == 96) return Shape::skewed;
    if (v[0].sx == 0 && v[0].sy == 240 && v[2].sx == 640 && v[2].sy == 480) return Shape::bottomHalf;
    if (v[0].sx == 0 && v[3].sx == 640) return Shape::swing;
    return v[2].sx < 400 ? Shape::topLeftQuarter : Shape::bottomRightQuarter;
}

// One presented frame as the device saw it.
struct Frame {
    std::vector<Shape> overlays;        // in draw order
    std::optional<float> sceneVertexZ;  // the first scene vertex's third camera-space coordinate
};

// Clear, BeginScene, EndScene and Flip in call order, as letters C, B, E, F.
std::string frameCycle() {
    std::string cycle;
    for (const platform::RecordedCall& call : platform::nullDriverCalls()) {
        const std::string method(call.method);
        if (method == "Clear" || method == "BeginScene" || method == "EndScene" || method == "Flip")
            cycle += method.front();
    }
    return cycle;
}

std::string repeated(const std::string& text, size_t count) {
    std::string all;
    for (size_t n = 0; n < count; ++n) all += text;
    return all;
}

std::vector<Frame> framesPresented() {
    std::vector<Frame> frames(1);
    for (const platform::RecordedCall& call : platform::nullDriverCalls()) {
        const std::string method(call.method);
        const bool overlay = method == "DrawIndexedPrimitive" && call.arguments.at(1) == D3DFVF_TLVERTEX;
        if (overlay) frames.back().overlays.push_back(shapeOf(call.payloadAs<D3DTLVERTEX>().data()));
        if (method == "DrawPrimitive" && !frames.back().sceneVertexZ)
            frames.back().sceneVertexZ = call.payloadAs<float>().at(2);
        if (method == "Flip") frames.emplace_back();
    }
    frames.pop_back();  // what followed the last flip
    return frames;
}

// The overlays a part draws at frame index i, given (start, end, shape) in draw order.
struct Life {
    int32_t start, end;
    Shape shape;
};
std::vector<Shape> expectedOverlays(const std::vector<Life>& lives, int32_t i) {
    std::vector<Shape> shapes;
    for (const Life& life : lives)
        if (i >= life.start && i < life.end) shapes.push_back(life.shape);
    return shapes;
}

const std::vector<Life> partOneLives = {{50, 400, Shape::panel}, {500, 800, Shape::skewed}, {801, 1300, Shape::skewed}};
const std::vector<Life> partTwoLives = {
    {40, 250, Shape::topLeftQuarter}, {720, 1000, Shape::swing}, {400, 700, Shape::bottomRightQuarter}};
std::vector<Life> partThreeLives(int32_t salleFrames) {
    return {{50, 300, Shape::panel}, {500, 650, Shape::skewed}, {700, salleFrames - 5, Shape::bottomHalf}};
}

class Show : public testing::Test {
protected:
    // Runs the show over scenes; with escapeAfter, Escape reaches the
    // rendering window on that frame of part one (counted from 1).
    void run(const DemoScenes& scenes, std::optional<int> escapeAfter = {}) {
        DemoDirectory datas(scenes);
        platform::setPlayerFinder([this] { return std::make_unique<RecordingPlayer>(sent); });
        if (escapeAfter) pressEscapeOnFrame(*escapeAfter);
        platform::clearNullDriverCalls();
        // The fade's three seconds go by a millisecond a reading.
        std::chrono::steady_clock::time_point fadeTime{};
        EXPECT_EQ(runDemo([&] { return fadeTime += std::chrono::milliseconds(1); }), 0);
        platform::setDebugOutputHook({});
        platform::setPlayerFinder({});
        frames = framesPresented();
        cycle = frameCycle();
    }

    // The message step takes posted messages first: frames - 1 harmless ones,
    // then the key.
    static void pressEscapeOnFrame(int frame) {
        platform::setDebugOutputHook([frame](std::string_view text) {
            if (text != "rendering scene\n") return;
            for (int n = 1; n < frame; ++n) PostMessageA(renderWindow, WM_NULL, 0, 0);
            PostMessageA(renderWindow, WM_CHAR, 27, 0);
        });
    }

    // The set-up clears once; parts one and two clear after the flip, part
    // three before it begins.
    void expectCycle(size_t framesClearedAfter, size_t framesClearedBefore) const {
        EXPECT_EQ(cycle, "C" + repeated("BEFC", framesClearedAfter) + repeated("CBEF", framesClearedBefore));
    }

    void expectPart(size_t first, size_t count, const std::vector<Life>& lives) const {
        ASSERT_GE(frames.size(), first + count);
        for (size_t i = 0; i < count; ++i) {
            const Frame& frame = frames[first + i];
            EXPECT_EQ(frame.overlays, expectedOverlays(lives, static_cast<int32_t>(i)))
                << "frame " << i << " of the part starting at " << first;
        }
    }

    void expectMusicStartedFadedAndClosed() const {
        std::vector<WPARAM> expected(100, platform::playerVolumeUp);
        expected.push_back(platform::playerPlay);
        expected.insert(expected.end(), 100, platform::playerVolumeDown);
        expected.push_back(platform::playerClose);
        EXPECT_EQ(sent, expected);
    }

    void expectTornDown() const {
        EXPECT_EQ(device, nullptr);
        EXPECT_EQ(directDraw, nullptr);
        EXPECT_FALSE(IsWindow(renderWindow));
        EXPECT_FALSE(demoRunning);
    }

    LogCapture log;
    NullDriverScope driver;
    std::vector<WPARAM> sent;
    std::vector<Frame> frames;
    std::string cycle;
};

}  // namespace

TEST_F(Show, ThreePartsWithTheirOverlaysThenTheFadeAndTheTeardown) {
    constexpr int32_t montFrames = 1001;
    constexpr int32_t salleFrames = 800;
    run(DemoScenes{{0, 9}, {0, montFrames - 1}, {0, salleFrames - 1}});
    ASSERT_EQ(frames.size(), size_t{1500 + montFrames + salleFrames - 5});
    expectPart(0, 1500, partOneLives);
    expectPart(1500, montFrames, partTwoLives);
    expectPart(1500 + montFrames, salleFrames - 5, partThreeLives(salleFrames));
    expectCycle(1500 + montFrames, salleFrames - 5);
    // Overlay 7 is first drawn on part two's 41st frame.
    EXPECT_TRUE(frames[1500 + 39].overlays.empty());
    EXPECT_THAT(frames[1500 + 40].overlays, ElementsAre(Shape::topLeftQuarter));
    expectMusicStartedFadedAndClosed();
    expectTornDown();
}

TEST_F(Show, EscapeDuringPartOneSkipsTheRestButNotTheFadeOrTheTeardown) {
    run(DemoScenes{{0, 9}, {0, 99}, {0, 99}}, 10);
    EXPECT_EQ(frames.size(), 10u);
    expectPart(0, 10, partOneLives);
    expectCycle(10, 0);
    expectMusicStartedFadedAndClosed();
    expectTornDown();
}

TEST_F(Show, PartsThatHaveNoFrames) {
    struct Case {
        int32_t montFrames, salleFrames;
        size_t partThreeFrames, bottomHalfDraws;
    };
    // A mont scene with no frame plays no part two; a salle scene of 5 frames
    // or fewer no part three; overlay 6 lives only from 706 frames on.
    for (const Case& c : {Case{0, 5, 0, 0}, Case{-3, 704, 699, 0}, Case{1, 705, 700, 0}, Case{0, 706, 701, 1}}) {
        frames.clear();
        sent.clear();
        run(DemoScenes{{0, 0}, {0, c.montFrames - 1}, {0, c.salleFrames - 1}});
        const size_t montFrames = static_cast<size_t>(std::max(c.montFrames, 0));
        ASSERT_EQ(frames.size(), 1500 + montFrames + c.partThreeFrames) << c.salleFrames;
        expectPart(1500 + montFrames, c.partThreeFrames, partThreeLives(c.salleFrames));
        expectCycle(1500 + montFrames, c.partThreeFrames);
        size_t bottomHalfDraws = 0;
        for (const Frame& frame : frames)
            bottomHalfDraws += std::count(frame.overlays.begin(), frame.overlays.end(), Shape::bottomHalf);
        EXPECT_EQ(bottomHalfDraws, c.bottomHalfDraws) << c.salleFrames;
        demoRunning = true;
    }
}

TEST_F(Show, ScenesStartWhereTheScriptSaysAndWrapOnTheirOwn) {
    // The triangle moves away along the scene's x, the camera's depth: its
    // first vertex is at depth 5 + frame. Tores starts beyond its
    // last frame (drawn as frame 0), mont and salle at frame 1.
    run(DemoScenes{{50, 9, true}, {0, 19, true}, {0, 9, true}});
    ASSERT_EQ(frames.size(), size_t{1500 + 20 + 5});
    auto drawnFrame = [&](size_t presented) { return frames[presented].sceneVertexZ.value_or(-100.0f) - 5.0f; };
    for (size_t i : {0u, 1u, 9u, 10u, 1499u}) EXPECT_FLOAT_EQ(drawnFrame(i), static_cast<float>(i % 10)) << i;
    for (size_t i : {0u, 18u, 19u}) EXPECT_FLOAT_EQ(drawnFrame(1500 + i), static_cast<float>((i + 1) % 20)) << i;
    for (size_t i : {0u, 4u}) EXPECT_FLOAT_EQ(drawnFrame(1520 + i), static_cast<float>(i + 1)) << i;
}

TEST_F(Show, ToresStartsAtItsFirstFrame) {
    run(DemoScenes{{3, 9, true}, {0, -1}, {0, 0}});
    ASSERT_EQ(frames.size(), 1500u);
    for (size_t i : {0u, 6u, 7u, 1499u})
        EXPECT_FLOAT_EQ(frames[i].sceneVertexZ.value_or(-100.0f) - 5.0f, static_cast<float>((i + 3) % 10)) << i;
}
