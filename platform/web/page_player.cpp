// The music player of the page: the show's commands reach the page's player
// as they reach an MPRIS player on the desktop. The link keeps its own volume,
// clamped to 0..1, and hands the player a volume only when it changes.

#include <algorithm>
#include <cmath>

#include "platform/player_link.h"

// The page's side (library_page.js).
extern "C" {
double kvor_page_player_volume();
void kvor_page_player_set_volume(double volume);
void kvor_page_player_play();
void kvor_page_player_quit();
}

namespace {

constexpr double volumeStep = 0.01;

class PagePlayer final : public platform::PlayerLink {
public:
    void command(WPARAM id) override {
        switch (id) {
            case platform::playerVolumeUp: changeVolume(volumeStep); break;
            case platform::playerVolumeDown: changeVolume(-volumeStep); break;
            case platform::playerPlay: kvor_page_player_play(); break;
            case platform::playerClose: kvor_page_player_quit(); break;
            default: break;
        }
    }

private:
    // Steps of 0.01 land on round values: a hundred steps down from 1 reach 0 exactly.
    void changeVolume(double step) {
        const double next = std::clamp(std::round((volume + step) * 1e6) / 1e6, 0.0, 1.0);
        if (next == volume) return;
        volume = next;
        kvor_page_player_set_volume(volume);
    }

    double volume = std::clamp(kvor_page_player_volume(), 0.0, 1.0);
};

}  // namespace

// The page always has its player.
std::unique_ptr<platform::PlayerLink> platform::findSystemPlayer() { return std::make_unique<PagePlayer>(); }
