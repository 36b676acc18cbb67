// GetOpenFileNameA: the file chooser's answer written back the way the common
// dialog does it.

#include <algorithm>
#include <cstring>

#include "platform/dialog_view.h"
#include "platform/hook_slots.h"

namespace {

// The path, its file name at nFileOffset and its extension (after the dot) at
// nFileExtension, 0 when it has none. A buffer too small for the path refuses
// the answer, as FNERR_BUFFERTOOSMALL does.
BOOL writeAnswer(OPENFILENAMEA& request, const std::string& path) {
    if (request.lpstrFile == nullptr || path.size() + 1 > request.nMaxFile) return FALSE;
    std::memcpy(request.lpstrFile, path.c_str(), path.size() + 1);
    size_t separator = path.find_last_of("/\\");
    size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    size_t dot = path.find_last_of('.');
    request.nFileOffset = static_cast<WORD>(nameStart);
    request.nFileExtension = static_cast<WORD>(dot != std::string::npos && dot > nameStart ? dot + 1 : 0);
    if (request.lpstrFileTitle != nullptr && request.nMaxFileTitle > 0) {
        std::string name = path.substr(nameStart);
        size_t count = std::min<size_t>(name.size(), request.nMaxFileTitle - 1);
        std::memcpy(request.lpstrFileTitle, name.data(), count);
        request.lpstrFileTitle[count] = '\0';
    }
    return TRUE;
}

}  // namespace

platform::OpenFileHook& platform::openFileHook() {
    static OpenFileHook hook;
    return hook;
}

// Headless, with no hook to answer, nobody can choose: the choice is cancelled.
BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA request) {
    if (request == nullptr || request->lStructSize != sizeof(OPENFILENAMEA)) return FALSE;
    std::optional<std::string> chosen;
    if (auto& hook = platform::openFileHook())
        chosen = hook(*request);
    else if (!platform::headlessDialogs() && platform::windowSystemDialogView() != nullptr)
        chosen = platform::windowSystemChooseFile(*request);
    return chosen ? writeAnswer(*request, *chosen) : FALSE;
}
