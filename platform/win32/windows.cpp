// Window classes and windows, headless: a window is its procedure and a little
// state. A view (the display driver's SDL window) may show one of them.

#include <strings.h>

#include <map>
#include <utility>
#include <vector>

#include "platform/layer.h"
#include "platform/win32/window_registry.h"

namespace {

struct WindowClass {
    std::string name;
    WNDPROC procedure;
};

std::vector<WindowClass>& windowClasses() {
    static std::vector<WindowClass> classes;
    return classes;
}

// Ordered by handle, which grows with every window: creation order.
std::map<HWND, platform::Window>& windows() {
    static std::map<HWND, platform::Window> all;
    return all;
}

const WindowClass* findClass(LPCSTR name) {
    if (name == nullptr) return nullptr;
    for (const WindowClass& windowClass : windowClasses())
        if (strcasecmp(windowClass.name.c_str(), name) == 0) return &windowClass;
    return nullptr;
}

// Handles are opaque numbers, never addresses: a stale handle can be looked up
// safely and is simply not found.
HWND newHandle() {
    static uintptr_t next = 0x10000;
    next += 0x10;
    return reinterpret_cast<HWND>(next);
}

HCURSOR& cursor() {
    static HCURSOR current = nullptr;
    return current;
}

// Stock objects and system cursors are tokens: nothing is ever drawn with them.
template <typename Handle>
Handle token(uintptr_t kind, uintptr_t id) {
    return reinterpret_cast<Handle>((kind << 24) | (id << 4));
}

constexpr int lastStockObject = 19;  // DC_PEN
constexpr uintptr_t firstSystemCursor = 32512, lastSystemCursor = 32651;

bool sendCreation(HWND handle, CREATESTRUCTA& creation) {
    auto parameter = reinterpret_cast<LPARAM>(&creation);
    if (SendMessageA(handle, WM_NCCREATE, 0, parameter) == 0) return false;
    return SendMessageA(handle, WM_CREATE, 0, parameter) != -1;
}

}  // namespace

platform::Window* platform::findWindow(HWND handle) {
    auto found = windows().find(handle);
    return found == windows().end() ? nullptr : &found->second;
}

HWND platform::findWindowNamed(LPCSTR className, LPCSTR title) {
    for (auto& [handle, window] : windows()) {
        if (window.destroying) continue;
        if (className != nullptr && strcasecmp(window.className.c_str(), className) != 0) continue;
        if (title == nullptr || window.title == title) return handle;
    }
    return nullptr;
}

HWND platform::windowNeedingPaint() {
    for (auto& [handle, window] : windows())
        if (window.paintPending && (window.style & WS_VISIBLE) && !window.destroying) return handle;
    return nullptr;
}

HCURSOR platform::currentCursor() { return cursor(); }

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr || windowClass->lpfnWndProc == nullptr)
        return 0;
    if (findClass(windowClass->lpszClassName) != nullptr) return 0;  // ERROR_CLASS_ALREADY_EXISTS
    windowClasses().push_back({windowClass->lpszClassName, windowClass->lpfnWndProc});
    return static_cast<ATOM>(0xC000 + windowClasses().size());
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
    const WindowClass* windowClass = findClass(className);
    if (windowClass == nullptr) return nullptr;
    HWND handle = newHandle();
    windows()[handle] = platform::Window{handle, windowClass->procedure, windowClass->name, style, false, false,
                                         windowName != nullptr ? windowName : ""};
    CREATESTRUCTA creation{parameter,  instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
                           windowName, className, exStyle};
    if (!sendCreation(handle, creation)) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (platform::Window* window = platform::findWindow(handle)) window->paintPending = (style & WS_VISIBLE) != 0;
    return handle;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_NCCREATE: return TRUE;
        case WM_PAINT:
            if (platform::Window* found = platform::findWindow(window)) found->paintPending = false;
            return 0;
        case WM_CLOSE: DestroyWindow(window); return 0;
        default: return 0;
    }
}

BOOL WINAPI UpdateWindow(HWND handle) {
    platform::Window* window = platform::findWindow(handle);
    if (window == nullptr) return FALSE;
    if (window->paintPending) SendMessageA(handle, WM_PAINT, 0, 0);
    return TRUE;
}

// WM_DESTROY, then WM_NCDESTROY, then the handle is gone. A window already on
// its way out is left to the call that is destroying it.
BOOL WINAPI DestroyWindow(HWND handle) {
    platform::Window* window = platform::findWindow(handle);
    if (window == nullptr) return FALSE;
    if (window->destroying) return TRUE;
    window->destroying = true;
    SendMessageA(handle, WM_DESTROY, 0, 0);
    SendMessageA(handle, WM_NCDESTROY, 0, 0);
    platform::discardMessagesFor(handle);
    windows().erase(handle);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND handle) { return platform::findWindow(handle) != nullptr ? TRUE : FALSE; }

HCURSOR WINAPI SetCursor(HCURSOR newCursor) { return std::exchange(cursor(), newCursor); }

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    auto id = reinterpret_cast<uintptr_t>(name);
    // Only the system's own cursors exist: the program ships no cursor resources.
    if (instance != nullptr || id < firstSystemCursor || id > lastSystemCursor) return nullptr;
    return token<HCURSOR>(1, id);
}

// No menu resources exist, so there is never a menu to load.
HMENU WINAPI LoadMenuA(HINSTANCE, LPCSTR) { return nullptr; }

HGDIOBJ WINAPI GetStockObject(int object) {
    if (object < 0 || object > lastStockObject) return nullptr;
    return token<HGDIOBJ>(2, static_cast<uintptr_t>(object) + 1);
}
