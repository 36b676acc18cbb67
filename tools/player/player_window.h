#pragma once
// The player's main window: of the class the show looks for, it takes the
// show's commands as WM_COMMAND messages and shows the player's state.

#include <windows.h>

#include "tools/player/playback.h"

namespace player {

// The window, shown, with its class registered on first use; null on failure.
// It ends the thread's message loop (WM_QUIT) when it is destroyed, by the
// close command or by its user.
HWND createPlayerWindow(HINSTANCE instance, Playback& playback);

}  // namespace player
