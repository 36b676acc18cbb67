// The player behind its stand-in window handle, and FindWindowA, which finds
// it or one of the program's own windows.

#include "platform/win32/player_window.h"

#include <strings.h>

#include "platform/player_link.h"
#include "platform/win32/window_registry.h"

namespace {

struct PlayerState {
    platform::PlayerFinder finder;  // empty: the system's player
    std::unique_ptr<platform::PlayerLink> link;
};

PlayerState& player() {
    static PlayerState state;
    return state;
}

// Never a handle of newHandle's: those are multiples of 0x10 from 0x10010.
HWND playerHandle() { return reinterpret_cast<HWND>(uintptr_t{0x5A17}); }

constexpr const char* playerClassName = "Winamp v1.x";

}  // namespace

void platform::setPlayerFinder(PlayerFinder finder) {
    player().finder = std::move(finder);
    player().link.reset();
}

HWND platform::findPlayerWindow() {
    PlayerState& state = player();
    state.link.reset();
    state.link = state.finder ? state.finder() : findSystemPlayer();
    return state.link ? playerHandle() : nullptr;
}

bool platform::isPlayerWindow(HWND window) { return window != nullptr && window == playerHandle(); }

LRESULT platform::sendToPlayer(UINT message, WPARAM wParam) {
    if (message == WM_COMMAND && player().link) player().link->command(wParam);
    return 0;
}

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
    if (className != nullptr && windowName == nullptr && strcasecmp(className, playerClassName) == 0)
        return platform::findPlayerWindow();
    return platform::findWindowNamed(className, windowName);
}
