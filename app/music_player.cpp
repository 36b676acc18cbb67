#include "app/music_player.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr WPARAM volumeUp = 40058;
constexpr WPARAM volumeDown = 40059;
constexpr WPARAM play = 40045;
constexpr WPARAM closePlayer = 40001;
constexpr int volumeSteps = 100;
constexpr std::chrono::milliseconds fadeLength{3000};
constexpr std::chrono::milliseconds fadeStepInterval = fadeLength / volumeSteps;

void send(HWND player, WPARAM command) {
    if (player != nullptr) SendMessageA(player, WM_COMMAND, command, 0);
}

}  // namespace

HWND findMusicPlayer() { return FindWindowA("Winamp v1.x", nullptr); }

void startMusic(HWND player) {
    for (int step = 0; step < volumeSteps; ++step) send(player, volumeUp);
    send(player, play);
}

// Step n is due at n x 30 ms: the first at once, the last 30 ms before the
// end. The loop only polls the clock: the last frame stays on screen. A
// command the player is slow to take holds the loop; the steps that fell due
// meanwhile go at once, in order, and a reading past the three seconds finds
// all hundred due, so none is dropped and the fade ends there.
void fadeMusic(HWND player, const FadeClock& now) {
    const std::chrono::steady_clock::time_point start = now();
    int sent = 0;
    for (std::chrono::steady_clock::duration elapsed{};; elapsed = now() - start) {
        const auto due = std::min<int64_t>(volumeSteps, elapsed / fadeStepInterval + 1);
        for (; sent < due; ++sent) send(player, volumeDown);
        if (elapsed >= fadeLength) return;
    }
}

void closeMusicPlayer(HWND player) { send(player, closePlayer); }
