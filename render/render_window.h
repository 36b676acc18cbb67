#pragma once
// The rendering window, "D3D Window": a plain window that ends the demo on
// Escape or when it is destroyed, and never validates its paint region.

#include "platform/win32.h"

LRESULT CALLBACK renderWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the class, creates and shows the window, hides the cursor, and
// makes the window both renderWindow and mainWindow.
void createRenderWindow(HINSTANCE instance);
