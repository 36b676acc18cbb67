#include "tests/support/window_classes.h"

namespace testing_support {

void registerClass(const char* name, WNDPROC procedure) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
}

HWND createWindow(const char* className, DWORD style, const char* title) {
    return CreateWindowExA(0, className, title, style, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace testing_support
