// The enhanced frame on the capture driver: the same picture the engine
// draws at 640 x 480, at a higher resolution with 32-bit colour, smooth
// (multisampled) edges, letter-boxed or stretched.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/display_state.h"
#include "platform/ddraw/render_output.h"
#include "scene/scene.h"
#include "tests/support/capture_display.h"
#include "tests/support/scene_vertex.h"
#include "tests/support/test_support.h"

using testing_support::CaptureDisplay;
using testing_support::pixelAt;
using testing_support::Rgb;
using testing_support::Vertex;

namespace {

// The camera-space triangle that lands on (320, 240), (320, 360), (480, 240).
void drawTriangle(IDirect3DDevice7& device) {
    Vertex triangle[3] = {{0, 0, 10, 0, 0, 1, 0, 0}, {0, -5, 10, 0, 0, 1, 0, 0}, {5, 0, 10, 0, 0, 1, 0, 0}};
    device.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, triangle, 3, 0);
}

void clearTo(IDirect3DDevice7& device, D3DCOLOR colour) {
    D3DRECT whole{0, 0, 640, 480};
    device.Clear(1, &whole, D3DCLEAR_TARGET, colour, 1.0f, 0);
}

// Pixels strictly between black and white in the frame's box.
int partlyCovered(const platform::CapturedFrame& frame, int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const int red = pixelAt(frame, x, y).red;
            count += red > 24 && red < 231 ? 1 : 0;
        }
    return count;
}

class EnhancedCapture : public testing::Test {
protected:
    void SetUp() override {
        if (!CaptureDisplay::available()) GTEST_SKIP() << "no off-screen OpenGL context on this machine";
    }
    void TearDown() override { platform::setCaptureFrame(std::nullopt); }

    // One frame drawn on a capture driver making frame (none: authentic).
    platform::CapturedFrame capture(std::optional<platform::EnhancedFrame> frame,
                                    const std::function<void(IDirect3DDevice7&)>& draw) {
        platform::setCaptureFrame(frame);
        CaptureDisplay display;
        Scene scene{nullptr, nullptr};
        Renderer::applySceneRenderStates(scene);
        return display.frame(draw);
    }

    testing_support::LogCapture log;
};

TEST_F(EnhancedCapture, SmoothEdgesWhereTheAuthenticFrameHasSteps) {
    const platform::CapturedFrame authentic = capture(std::nullopt, drawTriangle);
    const platform::CapturedFrame enhanced = capture(platform::EnhancedFrame{1280, 960, false}, drawTriangle);
    ASSERT_EQ(enhanced.width, 1280u);
    ASSERT_EQ(enhanced.height, 960u);
    EXPECT_EQ(partlyCovered(authentic, 320, 240, 480, 360), 0);
    // Along the slanted edge, about one pixel in four rows is partly covered at least.
    EXPECT_GT(partlyCovered(enhanced, 640, 480, 960, 720), 200);
    EXPECT_EQ(pixelAt(enhanced, 800, 590).red, 255);
    EXPECT_EQ(pixelAt(enhanced, 620, 590).red, 0);
}

TEST_F(EnhancedCapture, ThirtyTwoBitColourWhereTheAuthenticFrameHasSixteen) {
    const auto draw = [](IDirect3DDevice7& device) { clearTo(device, 0x00123456); };
    const Rgb authentic = pixelAt(capture(std::nullopt, draw), 10, 10);
    const Rgb enhanced = pixelAt(capture(platform::EnhancedFrame{800, 600, false}, draw), 10, 10);
    EXPECT_EQ(authentic.red, 0x10);  // five bits of red, widened
    EXPECT_EQ(enhanced.red, 0x12);
    EXPECT_EQ(enhanced.green, 0x34);
    EXPECT_EQ(enhanced.blue, 0x56);
}

TEST_F(EnhancedCapture, WideFramesLetterBoxThePictureUnlessStretched) {
    const auto white = [](IDirect3DDevice7& device) { clearTo(device, 0x00FFFFFF); };
    const platform::CapturedFrame boxed = capture(platform::EnhancedFrame{1920, 1080, false}, white);
    const platform::CapturedFrame stretched = capture(platform::EnhancedFrame{1920, 1080, true}, white);
    // 4:3 in 1080 rows is 1440 columns, from 240 to 1680.
    const std::pair<int, int> expected[] = {{100, 0}, {238, 0}, {242, 255}, {960, 255}, {1677, 255}, {1682, 0}};
    for (const auto& [x, red] : expected) {
        EXPECT_EQ(pixelAt(boxed, x, 540).red, red) << "boxed at " << x;
        EXPECT_EQ(pixelAt(stretched, x, 540).red, 255) << "stretched at " << x;
    }
}

// The rectangle every driver shows the picture in: worked out by hand.
TEST(LetterBox, CentresThePicturesShapeRoundedToTheNearestPixel) {
    struct Case {
        uint32_t areaWidth, areaHeight, width, height;
        platform::OutputRect expected;
    };
    const Case cases[] = {
        {1024, 768, 640, 480, {0, 0, 1024, 768}},
        {1366, 768, 640, 480, {171, 0, 1024, 768}},  // 1.6 times: bars left and right
        {1280, 800, 640, 480, {106, 0, 1067, 800}},  // 1066.67 columns round up
        {800, 1000, 640, 480, {0, 200, 800, 600}},   // bars above and below
        {1, 1, 640, 480, {0, 0, 1, 1}},              // 0.75 of a row rounds to one
        {1920, 1080, 0, 480, {0, 0, 1920, 1080}},    // no picture yet: the whole area
    };
    for (const Case& c : cases) {
        const platform::OutputRect shown = platform::letterBox(c.areaWidth, c.areaHeight, c.width, c.height);
        SCOPED_TRACE(std::to_string(c.areaWidth) + " x " + std::to_string(c.areaHeight));
        EXPECT_EQ(shown.x, c.expected.x);
        EXPECT_EQ(shown.y, c.expected.y);
        EXPECT_EQ(shown.width, c.expected.width);
        EXPECT_EQ(shown.height, c.expected.height);
    }
}

TEST(RenderOutput, MapsPictureRectanglesIntoTheFrame) {
    struct Case {
        platform::RenderOutput output;
        int32_t x, y, width, height;
        platform::OutputRect expected;
    };
    const Case cases[] = {
        {platform::RenderOutput::authentic(640, 480), 0, 0, 640, 480, {0, 0, 640, 480}},
        {platform::RenderOutput::authentic(640, 480), 10, 20, 100, 50, {10, 410, 100, 50}},
        {platform::RenderOutput::enhanced(640, 480, {1280, 960, false}), 10, 20, 100, 50, {20, 820, 200, 100}},
        {platform::RenderOutput::enhanced(640, 480, {1920, 1080, false}), 0, 0, 640, 480, {240, 0, 1440, 1080}},
        {platform::RenderOutput::enhanced(640, 480, {1920, 1080, true}), 0, 0, 320, 240, {0, 540, 960, 540}},
        {platform::RenderOutput::enhanced(640, 480, {800, 1000, false}), 0, 0, 640, 480, {0, 200, 800, 600}},
    };
    for (const Case& c : cases) {
        const platform::OutputRect mapped = c.output.map(c.x, c.y, c.width, c.height);
        EXPECT_EQ(mapped.x, c.expected.x);
        EXPECT_EQ(mapped.y, c.expected.y);
        EXPECT_EQ(mapped.width, c.expected.width);
        EXPECT_EQ(mapped.height, c.expected.height);
    }
    EXPECT_FALSE(platform::RenderOutput::authentic(640, 480).scaled());
}

}  // namespace
