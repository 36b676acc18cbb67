#include "render/render_window.h"

#include "base/display_state.h"
#include "base/process_state.h"

namespace {

constexpr WPARAM escapeCharacter = 27;

}  // namespace

// Every message but WM_DESTROY and WM_CHAR is answered with 1 and no default
// processing: WM_PAINT is never validated, so GetMessageA always finds one
// waiting and the frame loop never blocks.
LRESULT CALLBACK renderWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY: demoRunning = false; return DefWindowProcA(window, message, wParam, lParam);
        case WM_CHAR:
            if (wParam == escapeCharacter) {
                DestroyWindow(window);
                demoRunning = false;
                return 0;
            }
            if (wParam == 'p') return 0;
            return DefWindowProcA(window, message, wParam, lParam);
        default: return 1;
    }
}

void createRenderWindow(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = renderWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "D3D Window";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "D3D Window", nullptr, WS_VISIBLE | WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 300, 300, nullptr, LoadMenuA(instance, nullptr), instance, nullptr);
    UpdateWindow(window);
    SetCursor(nullptr);
    renderWindow = window;
    mainWindow = window;
}
