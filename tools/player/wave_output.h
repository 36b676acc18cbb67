#pragma once
// The soundtrack on the system's audio device through winmm's waveOut: the
// whole of it queued as one buffer, the volume set on the device's stream.

#include <windows.h>
// winmm's declarations need <windows.h> first.
#include <mmsystem.h>

#include <memory>

#include "tools/player/wave_file.h"

namespace player {

class WaveOutput {
public:
    // Null when there is no audio device that takes the soundtrack's format.
    static std::unique_ptr<WaveOutput> open(const Soundtrack& soundtrack);
    ~WaveOutput();
    WaveOutput(const WaveOutput&) = delete;
    WaveOutput& operator=(const WaveOutput&) = delete;

    // Plays from the start, whatever was playing.
    void start();
    // 0 to 100 percent of the device's full volume, on both channels.
    void setVolume(int percent);
    // Seconds played since the last start.
    double position() const;

private:
    WaveOutput(HWAVEOUT device, const Soundtrack& soundtrack);
    void stop();

    HWAVEOUT device_;
    const Soundtrack& soundtrack_;
    WAVEHDR header_{};
    bool queued_ = false;
};

}  // namespace player
