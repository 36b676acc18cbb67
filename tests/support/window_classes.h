#pragma once
// Window classes and small windows of the platform layer, for the tests of
// its window model.

#include "platform/layer.h"

namespace testing_support {

// A class of that name calling procedure; a name already taken keeps its class.
void registerClass(const char* name, WNDPROC procedure = DefWindowProcA);

// A 10 x 10 window of the class, or null when the class is unknown or its
// procedure refuses the creation.
HWND createWindow(const char* className, DWORD style = 0, const char* title = nullptr);

}  // namespace testing_support
