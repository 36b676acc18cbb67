#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/layer.h"
#include "tests/support/window_classes.h"

using testing::ElementsAre;
using testing_support::createWindow;
using testing_support::registerClass;

namespace {

std::vector<UINT>& received() {
    static std::vector<UINT> messages;
    return messages;
}

LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    received().push_back(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK refusingProcedure(HWND, UINT message, WPARAM, LPARAM) { return message == WM_NCCREATE ? 0 : 1; }

UINT next() {
    MSG message{};
    EXPECT_EQ(GetMessageA(&message, nullptr, 0, 0), message.message == WM_QUIT ? FALSE : TRUE);
    return message.message;
}

}  // namespace

TEST(WindowClasses, NamesAreUniqueWithoutRegardToCase) {
    registerClass("kvor test class", recordingProcedure);
    WNDCLASSA again{};
    again.lpfnWndProc = recordingProcedure;
    again.lpszClassName = "KVOR Test Class";
    EXPECT_EQ(RegisterClassA(&again), 0);
    EXPECT_EQ(createWindow("no such class", 0), nullptr);
    HWND window = createWindow("KVOR TEST CLASS", 0);
    EXPECT_TRUE(IsWindow(window));
    DestroyWindow(window);
}

TEST(WindowLifetime, CreationAndDestructionMessages) {
    registerClass("kvor lifetime", recordingProcedure);
    received().clear();
    HWND window = createWindow("kvor lifetime", 0);
    EXPECT_EQ(DestroyWindow(window), TRUE);
    EXPECT_THAT(received(), ElementsAre(WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(DestroyWindow(window), FALSE);  // destroying it again is harmless
    EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 0);
    EXPECT_EQ(PostMessageA(window, WM_USER, 0, 0), FALSE);
    registerClass("kvor refusing", refusingProcedure);
    EXPECT_EQ(createWindow("kvor refusing", WS_VISIBLE), nullptr);
}

TEST(MessageQueue, PostedThenQuitThenPaintAndNeverAWaitWithNothingToWaitFor) {
    registerClass("kvor queue", recordingProcedure);
    HWND painted = createWindow("kvor queue", WS_VISIBLE);
    HWND hidden = createWindow("kvor queue", 0);
    PostMessageA(hidden, WM_USER + 1, 0, 0);
    PostQuitMessage(8);
    PostMessageA(nullptr, WM_USER + 2, 0, 0);
    EXPECT_EQ(next(), WM_USER + 1u);
    EXPECT_EQ(next(), WM_USER + 2u);
    MSG quit{};
    EXPECT_EQ(GetMessageA(&quit, nullptr, 0, 0), FALSE);
    EXPECT_EQ(quit.message, WM_QUIT);
    EXPECT_EQ(quit.wParam, 8u);
    MSG paint{};
    EXPECT_EQ(GetMessageA(&paint, nullptr, 0, 0), TRUE);
    EXPECT_EQ(paint.message, WM_PAINT);
    EXPECT_EQ(paint.hwnd, painted);
    DispatchMessageA(&paint);  // the default procedure validates
    MSG none{};
    EXPECT_EQ(GetMessageA(&none, nullptr, 0, 0), -1);
    PostMessageA(hidden, WM_USER, 0, 0);
    DestroyWindow(hidden);  // its messages go with it
    EXPECT_EQ(GetMessageA(&none, nullptr, 0, 0), -1);
    DestroyWindow(painted);
}
