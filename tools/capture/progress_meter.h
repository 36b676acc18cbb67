#pragma once
// Progress of a capture on standard error: a bar redrawn in place on a
// terminal, a plain line every few seconds otherwise.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace capture {

class ProgressMeter {
public:
    using Clock = std::chrono::steady_clock;

    // total 0: unknown. terminal: draw the bar in place.
    ProgressMeter(uint32_t total, bool terminal, std::FILE* output = stderr);

    void frameDone(Clock::time_point now = Clock::now());
    // Ends the bar's line.
    void finish(Clock::time_point now = Clock::now());

    // "1234/4795 frames, 140.2 fps, 0:19 left" (no total: no share, no time left).
    std::string status(Clock::time_point now) const;

private:
    void draw(Clock::time_point now);

    uint32_t total;
    uint32_t done = 0;
    bool terminal;
    std::FILE* output;
    Clock::time_point start = Clock::now();
    Clock::time_point lastDrawn;
};

}  // namespace capture
