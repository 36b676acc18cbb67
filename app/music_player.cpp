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
// end. The loop only polls the clock: the last frame stays on screen. Steps
// still due when a blocking command has carried the clock past the end are
// sent then: the music always ends silent.
void fadeMusic(HWND player) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    int sent = 0;
    for (Clock::duration elapsed{}; elapsed < fadeLength; elapsed = Clock::now() - start) {
        const auto due = std::min<int64_t>(volumeSteps, elapsed / fadeStepInterval + 1);
        for (; sent < due; ++sent) send(player, volumeDown);
    }
    for (; sent < volumeSteps; ++sent) send(player, volumeDown);
}

void closeMusicPlayer(HWND player) { send(player, closePlayer); }
