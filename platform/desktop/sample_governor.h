#pragma once
// How many samples per pixel the enhanced frame can afford. The show is
// counted in frames: a frame shown late slows it down against its music, so
// where the frames cannot be made within the refresh period the enhanced
// display driver gives up samples (4, then 2, then none) before it gives up
// frames, and takes them back once the frames come easily again.
//
// The decision looks at each frame's work, the time from one present to the
// next less the wait for the retrace, as a share of the refresh period:
// - one step down when 6 of the last 30 frames (half a second) took more
//   than 90 % of the period: a margin, since a software rasteriser's frame
//   time rises with what is on screen; from the first frames on, as the
//   renderer makes its shaders' code while the show loads, not in them, so
//   the count is settled within the show's first second;
// - one step up when 240 frames in a row (four seconds) took less than 40 %:
//   twice the samples cost about twice the time, which then still fits;
// - after any change the next 3 frames are not judged (the frame's buffers
//   are made again), and each step down that undoes a step up doubles the run
//   of easy frames the next step up needs, so the count cannot swing back and
//   forth. Internal to the platform layer.

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>

namespace platform {

class SampleGovernor {
public:
    using Clock = std::chrono::steady_clock;

    // True when the frame changed the count: samples() and decision() then say to what and why.
    bool frameMade(Clock::duration work, Clock::duration period);

    int samples() const;
    const std::string& decision() const { return why; }

private:
    void step(size_t newLevel, std::string reason);

    size_t level = 0;              // into 4, 2, 0
    std::deque<bool> recentTight;  // the last frames: over 90 % of the period
    size_t easyRun = 0;            // frames in a row under 40 % of the period
    size_t easyRunNeeded = 240;
    size_t settling = 0;
    bool lastStepUp = false;
    std::string why;
};

}  // namespace platform
