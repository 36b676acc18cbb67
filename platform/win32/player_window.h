#pragma once
// The window handle that stands for the music player. Internal to the
// platform layer.

#include "platform/layer.h"

namespace platform {

// Looks the player up afresh; the handle, or null when there is none.
HWND findPlayerWindow();
bool isPlayerWindow(HWND window);
// WM_COMMAND goes to the player; every other message is ignored. Returns 0.
LRESULT sendToPlayer(UINT message, WPARAM wParam);

}  // namespace platform
