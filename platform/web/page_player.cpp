// The music player of the page: the show's commands reach the page's player
// as they reach an MPRIS player on the desktop. The link keeps its own volume,
// clamped to 0..1, and hands the player a volume only when it changes.

#include <emscripten.h>

#include <algorithm>
#include <cmath>

#include "platform/player_link.h"

namespace {

constexpr double volumeStep = 0.01;

// The bodies are JavaScript, which the formatter would mangle.
// clang-format off
EM_JS(double, pagePlayerVolume, (), { return Module.kvorPage.player.volume(); });
EM_JS(void, pagePlayerSetVolume, (double volume), { Module.kvorPage.player.setVolume(volume); });
EM_JS(void, pagePlayerPlay, (), { Module.kvorPage.player.play(); });
EM_JS(void, pagePlayerQuit, (), { Module.kvorPage.player.quit(); });
EM_JS(void, pagePlayerSetPosition, (double seconds), { Module.kvorPage.player.setPosition(seconds); });
// clang-format on

class PagePlayer final : public platform::PlayerLink {
public:
    void command(WPARAM id) override {
        switch (id) {
            case platform::playerVolumeUp: changeVolume(volumeStep); break;
            case platform::playerVolumeDown: changeVolume(-volumeStep); break;
            case platform::playerPlay: pagePlayerPlay(); break;
            case platform::playerClose: pagePlayerQuit(); break;
            default: break;
        }
    }

    // The page's timeline: the music goes where the show jumps to.
    void setPosition(double seconds) override { pagePlayerSetPosition(seconds); }

private:
    // Steps of 0.01 land on round values: a hundred steps down from 1 reach 0 exactly.
    void changeVolume(double step) {
        const double next = std::clamp(std::round((volume + step) * 1e6) / 1e6, 0.0, 1.0);
        if (next == volume) return;
        volume = next;
        pagePlayerSetVolume(volume);
    }

    double volume = std::clamp(pagePlayerVolume(), 0.0, 1.0);
};

}  // namespace

// The page always has its player.
std::unique_ptr<platform::PlayerLink> platform::findSystemPlayer() { return std::make_unique<PagePlayer>(); }
