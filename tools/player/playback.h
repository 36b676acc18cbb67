#pragma once
// The player's state and its answers to the show's four commands: volume in
// steps of 1 % from 50 %, Play from the start of the soundtrack, close. With
// no audio device it obeys all the same, keeping its position by the clock.

#include <windows.h>

#include <chrono>
#include <memory>
#include <string>

#include "tools/player/command_log.h"
#include "tools/player/wave_file.h"
#include "tools/player/wave_output.h"

namespace player {

enum class Output { audioDevice, silent };

class Playback {
public:
    // With Output::audioDevice the soundtrack goes to the system's default
    // device, or nowhere (silent) when it has none.
    Playback(Soundtrack soundtrack, Output output, CommandLog& log);

    // Carries out a command of the show; false for an id that is not one.
    bool obey(WPARAM command);

    int volume() const { return volume_; }
    bool playing() const { return playing_; }
    bool silent() const { return !output_; }
    bool closed() const { return closed_; }
    // Seconds into the soundtrack, its length at most.
    double position() const;
    // What the window shows, one line each.
    std::string stateLine() const;
    std::string deviceLine() const;

private:
    Soundtrack soundtrack_;
    std::unique_ptr<WaveOutput> output_;
    CommandLog& log_;
    int volume_ = 50;
    bool playing_ = false;
    bool closed_ = false;
    std::chrono::steady_clock::time_point playStart_;
};

}  // namespace player
