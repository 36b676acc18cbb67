#pragma once
// The thread's window classes and windows, shared by the window functions, the
// message queue and the display driver's view. Internal to the platform layer.

#include <string>

#include "platform/layer.h"

namespace platform {

struct Window {
    HWND handle = nullptr;
    WNDPROC procedure = nullptr;
    std::string className;
    DWORD style = 0;
    bool paintPending = false;  // the update region is not empty
    bool destroying = false;    // WM_DESTROY is on its way
    std::string title;
};

// The live window with that handle, or null.
Window* findWindow(HWND handle);
// The first live window (in creation order) of that class (any case) and
// title; a null name or title matches any.
HWND findWindowNamed(LPCSTR className, LPCSTR title);
// The first visible window (in creation order) whose paint region is not empty.
HWND windowNeedingPaint();
// Drops every posted message addressed to a window that is going away.
void discardMessagesFor(HWND handle);
// The cursor given to the latest SetCursor; null hides it over our windows.
HCURSOR currentCursor();

}  // namespace platform
