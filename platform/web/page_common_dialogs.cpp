// The message box and the file chooser in the page. Both wait for the user
// while the browser goes on: the program's stack is set aside (Asyncify) until
// the page answers.

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/dialog_view.h"
#include "platform/web/page_session.h"
#include "platform/win32/file_filters.h"

// The page's side (library_page.js).
extern "C" {
void kvor_page_message_box(const char* text, const char* caption, int icon);
char* kvor_page_choose_file(const char* title, const char* filter);
}

namespace platform {

namespace {

constexpr UINT iconMask = 0xF0;

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
    kvor_page_message_box(text, caption, static_cast<int>(type & iconMask));
    return IDOK;
}

std::optional<std::string> windowSystemChooseFile(const OPENFILENAMEA& request) {
    const std::unique_ptr<char, decltype(&std::free)> path(
        kvor_page_choose_file(request.lpstrTitle ? request.lpstrTitle : "Open", acceptedTypes(request).c_str()),
        &std::free);
    if (path == nullptr) return std::nullopt;
    return std::string(path.get());
}

}  // namespace platform
