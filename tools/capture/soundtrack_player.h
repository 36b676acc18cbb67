#pragma once
// The capture's own music player: it hears the demo's player commands at the
// show time they were sent and renders what a player would have played into
// the video's soundtrack: silence until Play, then the soundtrack at the
// volume of the latest commands, silence again after Close.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/player_link.h"
#include "tools/capture/show_clock.h"

namespace capture {

struct TimedCommand {
    double seconds = 0.0;
    WPARAM id = 0;
};

struct PcmSound {
    int sampleRate = 44100;
    int channels = 2;
    std::vector<int16_t> samples;  // interleaved
};

// A 16-bit PCM WAVE file; nothing when the file is missing or of another kind.
std::optional<PcmSound> readWave(const std::filesystem::path& file);
std::vector<uint8_t> waveBytes(const PcmSound& sound);

// The player's volume (0..1) starts full; each step moves it by 0.01. The
// gain applied is its cube, the curve of the desktop player's volume control.
PcmSound renderPlayback(const PcmSound& soundtrack, const std::vector<TimedCommand>& commands, double seconds);

class CommandRecorder {
public:
    explicit CommandRecorder(const ShowClock& clock) : clock(clock) {}
    // A link for the platform's player finder; every link records here.
    std::unique_ptr<platform::PlayerLink> link();
    const std::vector<TimedCommand>& commands() const { return recorded; }

private:
    const ShowClock& clock;
    std::vector<TimedCommand> recorded;
};

}  // namespace capture
