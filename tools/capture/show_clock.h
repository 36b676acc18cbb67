#pragma once
// The show's time as the capture sees it: frames presented at 60 per second,
// then, once frames stop (the closing fade holds the last one on screen),
// real time since the last frame.

#include <chrono>
#include <cstdint>

namespace capture {

constexpr int framesPerSecond = 60;

class ShowClock {
public:
    using Clock = std::chrono::steady_clock;

    void framePresented(Clock::time_point at = Clock::now());
    uint32_t framesPresented() const { return frames; }
    // Seconds of show time at the moment at: 0 before the first frame, then
    // the time the last frame went on screen plus the real time since.
    double seconds(Clock::time_point at = Clock::now()) const;

private:
    uint32_t frames = 0;
    Clock::time_point lastFrame;
};

}  // namespace capture
