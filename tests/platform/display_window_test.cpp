// The primary display driver in a real X server: Xvfb on a free display
// number, with openbox to allow full screen or with no window manager at all,
// xdotool to press Escape.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "base/display_state.h"
#include "base/process_state.h"
#include "platform/tool_interface.h"
#include "render/renderer.h"
#include "tests/support/null_display.h"
#include "tests/support/x_session.h"

// Under AddressSanitizer: SDL's X11 start-up (D-Bus among it) keeps a few
// allocations for the process's life, inside libraries built without frame
// pointers, so their leaks cannot be attributed or suppressed by name. This
// program alone runs without leak detection; the sanitizers' other checks stay.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace {

using testing_support::XSession;

class DisplayWindow : public testing::Test {
protected:
    void SetUp() override { openSession(XSession::WindowManager::openbox); }

    void openSession(XSession::WindowManager manager) {
        if (std::string missing = XSession::missingProgram(); !missing.empty())
            GTEST_SKIP() << missing << " is not installed";
        session = std::make_unique<XSession>(manager);
        ASSERT_TRUE(session->ready()) << "no X session";
        platform::setPrimaryDriver(platform::DriverKind::display);
        testing_support::requestDisplay(nullptr);
    }

    void TearDown() override {
        testing_support::releaseDisplay();
        session.reset();
    }

    // The demo's frame step, until the demo stops or the limit is reached.
    int runFrames(Renderer& renderer, int limit) {
        int frames = 0;
        while (demoRunning && frames < limit) {
            MSG message{};
            GetMessageA(&message, nullptr, 0, 0);
            TranslateMessage(&message);
            DispatchMessageA(&message);
            renderer.beginScene();
            renderer.endScene();
            renderer.flip();
            renderer.clear();
            ++frames;
        }
        return frames;
    }

    std::unique_ptr<XSession> session;
};

class BareDisplayWindow : public DisplayWindow {
protected:
    void SetUp() override { openSession(XSession::WindowManager::none); }
};

}  // namespace

TEST_F(DisplayWindow, EscapeInTheWindowEndsTheFrameLoop) {
    Renderer renderer;
    ASSERT_EQ(renderer.setUp(), DD_OK);
    renderer.setDefaultRenderStates();
    testing_support::ChildProcess escape(
        {"xdotool", "search", "--sync", "--name", "^kvor$", "windowactivate", "--sync", "key", "Escape"});
    int frames = runFrames(renderer, 900);  // 15 s at 60 Hz
    EXPECT_FALSE(demoRunning);
    EXPECT_LT(frames, 900);
    EXPECT_FALSE(IsWindow(renderWindow));
    EXPECT_EQ(escape.waitForExit(std::chrono::seconds(5)), 0);
}

// Xvfb offers no swap control: waiting flips pace themselves to 60 Hz.
TEST_F(DisplayWindow, FlipsWaitingForTheRetraceKeepTheRefreshRate) {
    Renderer renderer;
    ASSERT_EQ(renderer.setUp(), DD_OK);
    runFrames(renderer, 1);
    auto start = std::chrono::steady_clock::now();
    runFrames(renderer, 30);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(29 * 1000 / 60));
}

// 640 x 480 on a 1024 x 768 screen that cannot switch, and nobody to make the
// window full screen: it still covers the screen, and the picture fills it.
TEST_F(BareDisplayWindow, CoversTheScreenAndThePictureFillsIt) {
    Renderer renderer;
    ASSERT_EQ(renderer.setUp(), DD_OK);
    for (int frame = 0; frame < 3; ++frame) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00ff8000, 1.0f, 0);
        renderer.flip();
    }
    auto window = session->waitForWindow("^kvor$", std::chrono::seconds(5));
    ASSERT_TRUE(window);
    auto geometry = session->geometry(*window);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->x, 0);
    EXPECT_EQ(geometry->y, 0);
    EXPECT_EQ(geometry->width, 1024);
    EXPECT_EQ(geometry->height, 768);
    for (auto [x, y] : {std::pair{1, 1}, {1022, 1}, {512, 384}, {1, 766}, {1022, 766}}) {
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        auto colour = session->pixel(x, y);
        ASSERT_TRUE(colour);
        EXPECT_EQ(colour->red, 0xff);
        EXPECT_NEAR(colour->green, 0x80, 4);  // 16-bit colour: 0x80 is not exact
        EXPECT_EQ(colour->blue, 0);
    }
}
