#pragma once
// A player that keeps the commands the show sends it, in order.

#include <vector>

#include "platform/player_link.h"

namespace testing_support {

class RecordingPlayer : public platform::PlayerLink {
public:
    explicit RecordingPlayer(std::vector<WPARAM>& sent) : sent(sent) {}
    void command(WPARAM id) override { sent.push_back(id); }

private:
    std::vector<WPARAM>& sent;
};

}  // namespace testing_support
