#include "tools/capture/show_clock.h"

namespace capture {

void ShowClock::framePresented() {
    ++frames;
    sinceLastFrame = {};
}

double ShowClock::seconds() const {
    // Frame k is on screen from k / 60 seconds on.
    if (frames == 0) return 0.0;
    const double lastShown = static_cast<double>(frames - 1) / framesPerSecond;
    return lastShown + std::chrono::duration<double>(sinceLastFrame).count();
}

ShowClock::Clock::time_point ShowClock::fadeReading() {
    sinceLastFrame += readingStep;
    // Whole nanoseconds to the last frame: the fade takes differences of readings.
    const std::chrono::nanoseconds lastShown(int64_t{frames > 0 ? frames - 1 : 0} * 1'000'000'000 / framesPerSecond);
    return Clock::time_point{} + std::chrono::duration_cast<Clock::duration>(lastShown) + sinceLastFrame;
}

}  // namespace capture
