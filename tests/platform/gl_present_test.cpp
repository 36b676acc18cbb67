// The OpenGL renderer's present and its enhanced frame's samples, on an
// off-screen context: the picture lands the right way up over the whole
// rectangle, each screen pixel one of the frame's, and a frame remade with
// fewer samples draws the same.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <span>
#include <tuple>
#include <vector>

#include "platform/desktop/egl_context.h"
#include "platform/gl/gl_headers.h"
#include "platform/gl/gl_renderer.h"

namespace {

constexpr GLsizei screenWidth = 1024, screenHeight = 768;

class GlPresent : public testing::Test {
protected:
    void SetUp() override {
        context = platform::makeSurfacelessContext();
        if (context == nullptr) GTEST_SKIP() << "no off-screen OpenGL context here";
        renderer = std::make_unique<platform::GlRenderer>(context);
    }

    // Clears a rectangle of the engine's picture (y down) to a colour.
    void fill(D3DRECT rect, D3DCOLOR colour) {
        renderer->clear(state, std::span(&rect, 1), D3DCLEAR_TARGET, colour, 1.0f);
    }

    // The frame shown on a screen of its own, read back top row first, as RGB triples.
    std::vector<uint8_t> presentOnScreen() {
        context->makeCurrent();
        GLuint colour = 0, framebuffer = 0;
        glGenRenderbuffers(1, &colour);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, screenWidth, screenHeight);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        renderer->presentTo(0, 0, screenWidth, screenHeight);
        context->makeCurrent();
        std::vector<uint8_t> upsideDown(size_t(screenWidth) * screenHeight * 3), rows(upsideDown.size());
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, screenWidth, screenHeight, GL_RGB, GL_UNSIGNED_BYTE, upsideDown.data());
        const size_t rowBytes = size_t(screenWidth) * 3;
        for (size_t row = 0; row < size_t(screenHeight); ++row)
            std::copy_n(&upsideDown[(screenHeight - 1 - row) * rowBytes], rowBytes, &rows[row * rowBytes]);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteRenderbuffers(1, &colour);
        return rows;
    }

    std::shared_ptr<platform::GlContext> context;
    std::unique_ptr<platform::GlRenderer> renderer;
    platform::DeviceState state;
};

using Pixel = std::tuple<int, int, int>;

Pixel at(const std::vector<uint8_t>& rows, int x, int y) {
    const size_t index = (size_t(y) * screenWidth + x) * 3;
    return {rows[index], rows[index + 1], rows[index + 2]};
}

TEST_F(GlPresent, ScalesTheFrameOverTheScreenTheRightWayUpWithNoMixedPixels) {
    renderer->createTarget(640, 480);
    fill({0, 0, 640, 480}, 0x000000FF);
    fill({0, 0, 320, 240}, 0x00FF0000);  // the top left quarter
    const std::vector<uint8_t> screen = presentOnScreen();
    EXPECT_EQ(at(screen, 0, 0), Pixel(255, 0, 0));
    EXPECT_EQ(at(screen, 511, 383), Pixel(255, 0, 0));
    EXPECT_EQ(at(screen, 512, 383), Pixel(0, 0, 255));
    EXPECT_EQ(at(screen, 511, 384), Pixel(0, 0, 255));
    EXPECT_EQ(at(screen, 1023, 767), Pixel(0, 0, 255));
    std::set<Pixel> colours;
    for (int y = 0; y < screenHeight; ++y)
        for (int x = 0; x < screenWidth; ++x) colours.insert(at(screen, x, y));
    EXPECT_EQ(colours, (std::set<Pixel>{{255, 0, 0}, {0, 0, 255}})) << "blended, or the screen not covered";
}

// Made again at each change, or made for every count at once and chosen
// (back to four too), the frame is the same.
TEST_F(GlPresent, TheEnhancedFrameDrawsTheSameWithTwoSamplesOrNone) {
    for (bool madeForEveryCount : {false, true}) {
        SCOPED_TRACE(madeForEveryCount ? "targets made for every count" : "target made at each change");
        renderer = std::make_unique<platform::GlRenderer>(context);
        if (madeForEveryCount) renderer->letSamplesChange();
        renderer->enhance(platform::EnhancedFrame{uint32_t(screenWidth), uint32_t(screenHeight), false});
        renderer->createTarget(640, 480);
        auto draw = [&] {
            fill({0, 0, 640, 480}, 0x00000000);
            fill({100, 50, 300, 400}, 0x0040C080);
            return renderer->readTarget();
        };
        const std::vector<uint8_t> fourSamples = draw();
        const std::vector<uint8_t> shown = presentOnScreen();
        EXPECT_EQ(at(shown, 0, 0), Pixel(0, 0, 0));
        EXPECT_EQ(at(shown, 200 * 1024 / 640, 100 * 768 / 480), Pixel(0x40, 0xC0, 0x80));
        for (GLsizei samples : {2, 0, 4}) {
            renderer->useSamples(samples);
            EXPECT_EQ(draw(), fourSamples) << samples << " samples";
            EXPECT_EQ(presentOnScreen(), shown) << samples << " samples";
        }
    }
}

}  // namespace
