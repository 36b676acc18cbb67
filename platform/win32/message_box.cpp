#include <cstdio>

#include "platform/dialog_view.h"
#include "platform/hook_slots.h"
#include "platform/layer.h"

platform::MessageBoxHook& platform::messageBoxHook() {
    static MessageBoxHook hook;
    return hook;
}

// The box always leaves one line on standard error, "caption: text", and shows
// on the display once the program has a window there. Its only button is OK.
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    const char* shownCaption = caption ? caption : "Error";
    const char* shownText = text ? text : "";
    if (auto& hook = platform::messageBoxHook()) hook(shownCaption, shownText);
    std::fprintf(stderr, "%s: %s\n", shownCaption, shownText);
    std::fflush(stderr);
    if (!platform::headlessDialogs() && platform::windowSystemIsOpen())
        return platform::windowSystemMessageBox(owner, shownText, shownCaption, type);
    return IDOK;
}
