// The message box and the file chooser in the page. Both wait for the user
// while the browser goes on: the program's stack is set aside (Asyncify) until
// the page answers.

#include <emscripten.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/dialog_view.h"
#include "platform/web/page_session.h"
#include "platform/win32/file_filters.h"

namespace platform {

namespace {

constexpr UINT iconMask = 0xF0;

// The bodies are JavaScript, which the formatter would mangle.
// clang-format off
// Resolves once the box's OK is pressed.
EM_ASYNC_JS(void, pageMessageBox, (const char* text, const char* caption, int icon), {
    await Module.kvorPage.messageBox(UTF8ToString(text), UTF8ToString(caption), icon);
});

// The chosen file copied into the program's file system: its path there, in
// memory the caller frees, or null when the user cancelled.
EM_ASYNC_JS(char*, pageChooseFile, (const char* title, const char* filter), {
    const path = await Module.kvorPage.chooseFile(UTF8ToString(title), UTF8ToString(filter));
    return path === null ? 0 : allocateUTF8(path);
});
// clang-format on

// The filter's patterns ("*.kvs") as the picker's accepted extensions
// (".kvs,.txt"): the browser offers no labels, and "*.*" is any file anyway.
std::string acceptedTypes(const OPENFILENAMEA& request) {
    std::string accepted;
    for (const FileFilter& filter : fileFilters(request.lpstrFilter))
        for (const std::string& pattern : filter.patterns)
            if (pattern.rfind("*.", 0) == 0 && pattern != "*.*")
                accepted += (accepted.empty() ? "" : ",") + pattern.substr(1);
    return accepted;
}

}  // namespace

int windowSystemMessageBox(HWND, const char* text, const char* caption, UINT type) {
    pageMessageBox(text, caption, static_cast<int>(type & iconMask));
    return IDOK;
}

std::optional<std::string> windowSystemChooseFile(const OPENFILENAMEA& request) {
    const std::unique_ptr<char, decltype(&std::free)> path(
        pageChooseFile(request.lpstrTitle ? request.lpstrTitle : "Open", acceptedTypes(request).c_str()), &std::free);
    if (path == nullptr) return std::nullopt;
    return std::string(path.get());
}

}  // namespace platform
