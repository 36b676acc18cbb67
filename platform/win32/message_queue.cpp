// The thread's message queue: posted messages, the window systems' input,
// WM_QUIT and the WM_PAINT of windows that never validate.

#include <algorithm>
#include <chrono>
#include <deque>
#include <optional>
#include <vector>

#include "platform/layer.h"
#include "platform/win32/message_sources.h"
#include "platform/win32/player_window.h"
#include "platform/win32/window_registry.h"

namespace {

struct QueueState {
    std::deque<MSG> posted;
    std::optional<int> quitCode;
    std::vector<platform::MessageSource*> sources;
};

QueueState& queue() {
    static QueueState state;
    return state;
}

DWORD millisecondsSinceStart() {
    static const auto start = std::chrono::steady_clock::now();
    auto elapsed = std::chrono::steady_clock::now() - start;
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

bool matches(const MSG& message, HWND window, UINT first, UINT last) {
    if (window != nullptr && message.hwnd != window) return false;
    if (first == 0 && last == 0) return true;
    return message.message >= first && message.message <= last;
}

void pumpSources(bool wait) {
    // A source may remove itself while pumping.
    std::vector<platform::MessageSource*> sources = queue().sources;
    for (platform::MessageSource* source : sources) source->pump(wait);
}

bool takePosted(MSG& message, HWND window, UINT first, UINT last) {
    auto& posted = queue().posted;
    auto found = std::find_if(posted.begin(), posted.end(),
                              [&](const MSG& candidate) { return matches(candidate, window, first, last); });
    if (found == posted.end()) return false;
    message = *found;
    posted.erase(found);
    return true;
}

bool takeQuit(MSG& message, HWND window, UINT first, UINT last) {
    if (!queue().quitCode) return false;
    MSG quit{nullptr, WM_QUIT, static_cast<WPARAM>(*queue().quitCode), 0, millisecondsSinceStart(), {0, 0}};
    if (window != nullptr || !matches(quit, nullptr, first, last)) return false;
    message = quit;
    queue().quitCode.reset();
    return true;
}

bool takePaint(MSG& message, HWND window, UINT first, UINT last) {
    HWND painted = platform::windowNeedingPaint();
    if (painted == nullptr) return false;
    MSG paint{painted, WM_PAINT, 0, 0, millisecondsSinceStart(), {0, 0}};
    if (!matches(paint, window, first, last)) return false;
    message = paint;
    return true;
}

}  // namespace

void platform::addMessageSource(MessageSource* source) { queue().sources.push_back(source); }

void platform::removeMessageSource(MessageSource* source) { std::erase(queue().sources, source); }

void platform::discardMessagesFor(HWND handle) {
    std::erase_if(queue().posted, [handle](const MSG& message) { return message.hwnd == handle; });
}

BOOL WINAPI GetMessageA(LPMSG message, HWND window, UINT firstMessage, UINT lastMessage) {
    if (message == nullptr) return -1;
    if (window != nullptr && platform::findWindow(window) == nullptr) return -1;
    for (bool wait = false;; wait = true) {
        pumpSources(wait);
        if (takePosted(*message, window, firstMessage, lastMessage)) return message->message != WM_QUIT;
        if (takeQuit(*message, window, firstMessage, lastMessage)) return FALSE;
        if (takePaint(*message, window, firstMessage, lastMessage)) return TRUE;
        if (queue().sources.empty()) return -1;  // nothing could ever arrive
    }
}

// Key presses arrive from the window systems already as WM_CHAR: there is
// nothing left to translate.
BOOL WINAPI TranslateMessage(const MSG*) { return FALSE; }

LRESULT WINAPI DispatchMessageA(const MSG* message) {
    if (message == nullptr || message->hwnd == nullptr) return 0;
    return SendMessageA(message->hwnd, message->message, message->wParam, message->lParam);
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window != nullptr && platform::findWindow(window) == nullptr) return FALSE;
    queue().posted.push_back(MSG{window, message, wParam, lParam, millisecondsSinceStart(), {0, 0}});
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (platform::isPlayerWindow(window)) return platform::sendToPlayer(message, wParam);
    platform::Window* found = platform::findWindow(window);
    if (found == nullptr) return 0;
    WNDPROC procedure = found->procedure;  // the window may be gone when the call returns
    return procedure(window, message, wParam, lParam);
}

void WINAPI PostQuitMessage(int exitCode) { queue().quitCode = exitCode; }
