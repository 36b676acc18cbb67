#include "tools/player/playback.h"

#include <algorithm>
#include <cstdio>

#include "tools/player/player_commands.h"

namespace player {
namespace {

std::string minutes(double seconds) {
    char text[32];
    const int whole = static_cast<int>(seconds);
    std::snprintf(text, sizeof text, "%d:%02d", whole / 60, whole % 60);
    return text;
}

}  // namespace

Playback::Playback(Soundtrack soundtrack, Output output, CommandLog& log)
    : soundtrack_(std::move(soundtrack)), log_(log) {
    if (output == Output::audioDevice) output_ = WaveOutput::open(soundtrack_);
    if (output_) output_->setVolume(volume_);
    log_.write("soundtrack of " + minutes(soundtrack_.seconds()) + ", " + deviceLine());
}

bool Playback::obey(WPARAM command) {
    switch (command) {
        case commandVolumeUp:
        case commandVolumeDown:
            volume_ = std::clamp(volume_ + (command == commandVolumeUp ? 1 : -1), 0, 100);
            if (output_) output_->setVolume(volume_);
            log_.write(std::string(command == commandVolumeUp ? "volume up" : "volume down") + ": " +
                       std::to_string(volume_) + " %");
            return true;
        case commandPlay:
            playing_ = true;
            playStart_ = std::chrono::steady_clock::now();
            if (output_) output_->start();
            log_.write("play from the start");
            return true;
        case commandClose:
            closed_ = true;
            log_.write("close");
            return true;
        default: return false;
    }
}

double Playback::position() const {
    if (!playing_) return 0.0;
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - playStart_;
    const double at = output_ ? output_->position() : elapsed.count();
    return std::min(at, soundtrack_.seconds());
}

std::string Playback::stateLine() const {
    const double at = position();
    const char* state = !playing_ ? "Stopped" : at >= soundtrack_.seconds() ? "Ended" : "Playing";
    return std::string(state) + "  " + minutes(at) + " / " + minutes(soundtrack_.seconds()) + "   volume " +
           std::to_string(volume_) + " %";
}

std::string Playback::deviceLine() const {
    return output_ ? "on the audio device" : "silent: no audio device, keeping time by the clock";
}

}  // namespace player
