#pragma once
// How a display driver's presents were spaced: how many there were, how many
// came late (more than one and a half refresh periods after the one before),
// of those how many after the first second, which settles the enhanced
// driver's samples, and which frames they were, and the longest interval.
// Internal to the platform layer.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class FramePacing {
public:
    using Clock = std::chrono::steady_clock;

    // A present done at that time, on a display refreshed once a period.
    void presented(Clock::time_point at, Clock::duration period);

    uint64_t frames() const { return count; }
    uint64_t late() const { return lateCount; }
    uint64_t lateAfterTheFirstSecond() const { return settledLateCount; }
    Clock::duration worst() const { return longest; }
    // "4795 frames, 3 late (2 after the first second: frames 1502, 3020), worst 40.1 ms"
    std::string summary() const;

private:
    // The first few are enough to tell a scene's start from a steady cost.
    static constexpr size_t namedLateFrames = 8;

    uint64_t count = 0, lateCount = 0, settledLateCount = 0;
    std::vector<uint64_t> settledLateFrames;
    Clock::time_point first, previous;
    Clock::duration longest{};
};

}  // namespace platform
