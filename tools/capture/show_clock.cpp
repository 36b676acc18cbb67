#include "tools/capture/show_clock.h"

namespace capture {

void ShowClock::framePresented() {
    ++frames;
    sinceLastFrame = {};
}

// Frame k is on screen from k / 60 seconds on, counted in whole nanoseconds:
// the fade takes differences of readings, which stay exact.
ShowClock::Clock::duration ShowClock::now() const {
    if (frames == 0) return {};
    const std::chrono::nanoseconds lastShown(int64_t{frames - 1} * 1'000'000'000 / framesPerSecond);
    return std::chrono::duration_cast<Clock::duration>(lastShown) + sinceLastFrame;
}

double ShowClock::seconds() const { return std::chrono::duration<double>(now()).count(); }

ShowClock::Clock::time_point ShowClock::fadeReading() {
    sinceLastFrame += readingStep;
    return Clock::time_point{} + now();
}

}  // namespace capture
