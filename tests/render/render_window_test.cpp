#include "render/render_window.h"

#include <gtest/gtest.h>

#include "base/display_state.h"
#include "base/process_state.h"

namespace {

// The rendering window for a scope, with the demo running.
struct RenderWindowScope {
    RenderWindowScope() {
        demoRunning = true;
        createRenderWindow(nullptr);
    }
    ~RenderWindowScope() {
        DestroyWindow(renderWindow);
        renderWindow = mainWindow = nullptr;
        demoRunning = true;
    }
};

class RenderWindow : public testing::Test {
protected:
    RenderWindowScope window;
};

}  // namespace

TEST(RenderWindowProcedure, KeysAndMessages) {
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        LRESULT result;
        bool windowLives;
        bool running;
    };
    const Case cases[] = {
        {"Escape destroys the window and ends the demo", WM_CHAR, 27, 0, false, false},
        // 'p' skips the default processing that other characters get, which
        // does nothing for WM_CHAR: no test can tell the two apart.
        {"any other character answers 0 and changes nothing", WM_CHAR, 'p', 0, true, true},
        {"closing is not honoured", WM_CLOSE, 0, 1, true, true},
        {"a paint is answered without validating", WM_PAINT, 0, 1, true, true},
        {"any other message answers 1", WM_SIZE, 0, 1, true, true},
    };
    for (const Case& c : cases) {
        RenderWindowScope scope;
        HWND window = renderWindow;
        EXPECT_EQ(SendMessageA(window, c.message, c.wParam, 0), c.result) << c.name;
        EXPECT_EQ(IsWindow(window) != FALSE, c.windowLives) << c.name;
        EXPECT_EQ(demoRunning, c.running) << c.name;
    }
}

TEST_F(RenderWindow, IsTheMainWindowAndDestroyingItEndsTheDemo) {
    EXPECT_EQ(mainWindow, renderWindow);
    DestroyWindow(renderWindow);
    EXPECT_FALSE(demoRunning);
}

// The frame loop takes one message per frame and must never wait for one.
TEST_F(RenderWindow, APaintMessageIsAlwaysWaiting) {
    for (int frame = 0; frame < 3; ++frame) {
        MSG message{};
        ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), TRUE);
        EXPECT_EQ(message.hwnd, renderWindow);
        EXPECT_EQ(message.message, WM_PAINT);
        TranslateMessage(&message);
        EXPECT_EQ(DispatchMessageA(&message), 1);
    }
}

TEST_F(RenderWindow, PostedEscapeEndsTheLoopThroughDispatch) {
    PostMessageA(renderWindow, WM_CHAR, 27, 0);
    MSG message{};
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), TRUE);
    EXPECT_EQ(message.message, WM_CHAR);
    DispatchMessageA(&message);
    EXPECT_FALSE(demoRunning);
    EXPECT_FALSE(IsWindow(renderWindow));
}
