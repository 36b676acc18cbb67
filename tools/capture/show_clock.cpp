#include "tools/capture/show_clock.h"

namespace capture {

void ShowClock::framePresented(Clock::time_point at) {
    ++frames;
    lastFrame = at;
}

double ShowClock::seconds(Clock::time_point at) const {
    // Frame k is on screen from k / 60 seconds on.
    if (frames == 0) return 0.0;
    const double lastShown = static_cast<double>(frames - 1) / framesPerSecond;
    return lastShown + std::chrono::duration<double>(at - lastFrame).count();
}

}  // namespace capture
