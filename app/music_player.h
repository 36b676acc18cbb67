#pragma once
// The demo's commands to the music player's window (Winamp's WM_COMMAND ids).
// A null window sends nothing; no answer is looked at.

#include <chrono>
#include <functional>

#include "platform/win32.h"

// Where the fade reads the time: the show passes a monotonic clock, tests
// feed their own.
using FadeClock = std::function<std::chrono::steady_clock::time_point()>;

// The player's main window, "Winamp v1.x", or null when no player runs.
HWND findMusicPlayer();
// A hundred volume steps up, then play.
void startMusic(HWND player);
// Holds the thread for 3000 ms of the clock now, polling it, pumping no
// message and drawing nothing, and brings the volume down a hundred steps, one
// every 30 ms; a player slow to answer delays the steps, never drops them.
void fadeMusic(HWND player, const FadeClock& now);
// The player exits.
void closeMusicPlayer(HWND player);
