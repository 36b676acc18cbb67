#include "tools/player/player_window.h"

#include <string>

#include "tools/player/player_commands.h"

namespace player {
namespace {

constexpr UINT_PTR refreshTimer = 1;
constexpr UINT refreshMilliseconds = 250;

Playback* playbackOf(HWND window) { return reinterpret_cast<Playback*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

void paint(HWND window, const Playback& playback) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT area{};
    GetClientRect(window, &area);
    FillRect(dc, &area, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    SetBkMode(dc, TRANSPARENT);
    const std::string lines[] = {"kvor-player: the show's soundtrack", playback.stateLine(), playback.deviceLine()};
    int y = 10;
    for (const std::string& line : lines) {
        TextOutA(dc, 12, y, line.c_str(), static_cast<int>(line.size()));
        y += 22;
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Playback* playback = playbackOf(window);
    switch (message) {
        case WM_NCCREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case WM_COMMAND:
            if (playback && playback->obey(wParam)) {
                if (playback->closed())
                    DestroyWindow(window);
                else
                    InvalidateRect(window, nullptr, FALSE);
                return 0;
            }
            break;
        case WM_TIMER: InvalidateRect(window, nullptr, FALSE); return 0;
        case WM_PAINT:
            if (playback) {
                paint(window, *playback);
                return 0;
            }
            break;
        case WM_DESTROY:
            KillTimer(window, refreshTimer);
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool registerPlayerClass(HINSTANCE instance) {
    WNDCLASSA existing{};
    if (GetClassInfoA(instance, windowClass, &existing)) return true;
    WNDCLASSA windowClassInfo{};
    windowClassInfo.lpfnWndProc = windowProcedure;
    windowClassInfo.hInstance = instance;
    windowClassInfo.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClassInfo.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClassInfo.lpszClassName = windowClass;
    return RegisterClassA(&windowClassInfo) != 0;
}

}  // namespace

HWND createPlayerWindow(HINSTANCE instance, Playback& playback) {
    if (!registerPlayerClass(instance)) return nullptr;
    HWND window =
        CreateWindowExA(0, windowClass, "kvor-player", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                        CW_USEDEFAULT, CW_USEDEFAULT, 440, 130, nullptr, nullptr, instance, &playback);
    if (!window) return nullptr;
    SetTimer(window, refreshTimer, refreshMilliseconds, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    return window;
}

}  // namespace player
