// The display drivers' present on the OpenGL renderer, into an off-screen
// screen of 640 x 480 and of 1024 x 768: the primary driver's 640 x 480 frame
// scaled to the screen, and the enhanced driver's frame of the screen's size
// (four samples) shown as it is. Prints the wall and the CPU time (all threads,
// the rasteriser's included) of one present, each size in alternating rounds.
//
//     build/bench/present_bench [presents per round]

#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/desktop/egl_context.h"
#include "platform/gl/gl_headers.h"
#include "platform/gl/gl_renderer.h"

namespace {

constexpr int rounds = 3;

double processMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// A screen's colour buffer, as a window's would be: 32-bit colour, no depth.
class Screen {
public:
    Screen(GLsizei width, GLsizei height) : width(width), height(height) {
        glGenRenderbuffers(1, &colour);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    }
    ~Screen() {
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteRenderbuffers(1, &colour);
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    void bind() const {
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
        glViewport(0, 0, width, height);
    }

    const GLsizei width, height;

private:
    GLuint colour = 0, framebuffer = 0;
};

// One way of presenting: a renderer whose frame is drawn once, shown on its screen.
struct Case {
    std::string name;
    std::unique_ptr<platform::GlRenderer> renderer;
    std::unique_ptr<Screen> screen;
    double wall = 0, cpu = 0;
    int presents = 0;
};

std::unique_ptr<platform::GlRenderer> frameRenderer(std::shared_ptr<platform::GlContext> context,
                                                    std::optional<platform::EnhancedFrame> enhanced) {
    auto renderer = std::make_unique<platform::GlRenderer>(std::move(context));
    renderer->enhance(enhanced);
    renderer->createTarget(640, 480);
    platform::DeviceState state;
    const D3DRECT whole{0, 0, 640, 480};
    renderer->clear(state, std::span(&whole, 1), D3DCLEAR_TARGET, 0x00306090, 1.0f);
    return renderer;
}

void presentRound(Case& way, int presents) {
    const double cpuStart = processMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    for (int index = 0; index < presents; ++index) {
        way.screen->bind();
        way.renderer->presentTo(0, 0, way.screen->width, way.screen->height);
        glFinish();
    }
    way.wall += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    way.cpu += processMilliseconds() - cpuStart;
    way.presents += presents;
}

}  // namespace

int main(int argc, char** argv) {
    const int presents = argc > 1 ? std::atoi(argv[1]) : 200;
    std::shared_ptr<platform::GlContext> context = platform::makeSurfacelessContext();
    if (context == nullptr || presents <= 0) {
        std::fprintf(stderr, "no off-screen OpenGL context here, or no presents asked for\n");
        return 1;
    }
    context->makeCurrent();
    std::vector<Case> ways;
    for (GLsizei width : {640, 1024}) {
        const GLsizei height = width * 3 / 4;
        ways.push_back({"primary, 640x480 frame on " + std::to_string(width) + "x" + std::to_string(height),
                        frameRenderer(context, std::nullopt), std::make_unique<Screen>(width, height)});
        ways.push_back({"enhanced, its frame on " + std::to_string(width) + "x" + std::to_string(height),
                        frameRenderer(context, platform::EnhancedFrame{uint32_t(width), uint32_t(height), false}),
                        std::make_unique<Screen>(width, height)});
    }
    for (Case& way : ways) presentRound(way, 20);
    for (Case& way : ways) way.wall = way.cpu = way.presents = 0;
    for (int round = 0; round < rounds; ++round)
        for (Case& way : ways) presentRound(way, presents);
    std::printf("rounds: %d x %d presents each way, alternating; %s\n", rounds, presents,
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    for (const Case& way : ways)
        std::printf("%-40s %6.2f ms a present, CPU %6.2f ms\n", way.name.c_str(), way.wall / way.presents,
                    way.cpu / way.presents);
    for (Case& way : ways) way.renderer->shutDown();
    return 0;
}
