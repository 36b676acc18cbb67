#include <cstdio>

#include "platform/hooks.h"
#include "platform/layer.h"

namespace {

platform::MessageBoxHook& messageBoxHook() {
    static platform::MessageBoxHook hook;
    return hook;
}

}  // namespace

void platform::setMessageBoxHook(MessageBoxHook hook) { messageBoxHook() = std::move(hook); }

// With no window system to show it, the box becomes one line on standard error:
// "caption: text". Nobody can press a button, so the answer is OK.
int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT) {
    const char* shownCaption = caption ? caption : "Error";
    const char* shownText = text ? text : "";
    if (auto& hook = messageBoxHook()) hook(shownCaption, shownText);
    std::fprintf(stderr, "%s: %s\n", shownCaption, shownText);
    std::fflush(stderr);
    return IDOK;
}
