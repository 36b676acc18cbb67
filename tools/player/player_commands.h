#pragma once
// What the show sends its player: WM_COMMAND with these ids (Winamp's), to the
// main window of the class it looks for.

#include <windows.h>

namespace player {

inline constexpr char windowClass[] = "Winamp v1.x";
inline constexpr WPARAM commandVolumeUp = 40058;
inline constexpr WPARAM commandVolumeDown = 40059;
inline constexpr WPARAM commandPlay = 40045;
inline constexpr WPARAM commandClose = 40001;

}  // namespace player
