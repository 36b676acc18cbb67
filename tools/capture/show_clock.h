#pragma once
// The show's time as the capture sees it: frames presented at 60 per second;
// once frames stop (the closing fade holds the last one on screen), time
// moves only as the fade reads it, a millisecond a reading. The fade then
// takes no real time, and its steps land where the show puts them however
// busy the machine is.

#include <chrono>
#include <cstdint>

namespace capture {

constexpr int framesPerSecond = 60;

class ShowClock {
public:
    using Clock = std::chrono::steady_clock;

    void framePresented();
    uint32_t framesPresented() const { return frames; }
    // Seconds of show time: 0 before the first frame, then the time the last
    // frame went on screen plus the time the fade has read since.
    double seconds() const;
    // The fade's clock: each reading a millisecond after the one before.
    Clock::time_point fadeReading();

private:
    static constexpr Clock::duration readingStep = std::chrono::milliseconds(1);

    Clock::duration now() const;

    uint32_t frames = 0;
    Clock::duration sinceLastFrame{};
};

}  // namespace capture
