#include "platform/desktop/frame_pacing.h"

#include <cstdio>

namespace platform {

void FramePacing::presented(Clock::time_point at, Clock::duration period) {
    if (count++ == 0) {
        first = previous = at;
        return;
    }
    const Clock::duration interval = at - previous;
    previous = at;
    if (interval > longest) longest = interval;
    if (interval * 2 <= period * 3) return;
    ++lateCount;
    if (at - first > std::chrono::seconds(1)) ++settledLateCount;
}

std::string FramePacing::summary() const {
    char line[128];
    std::snprintf(line, sizeof line, "%llu frames, %llu late (%llu after the first second), worst %.1f ms",
                  static_cast<unsigned long long>(count), static_cast<unsigned long long>(lateCount),
                  static_cast<unsigned long long>(settledLateCount),
                  std::chrono::duration<double, std::milli>(longest).count());
    return line;
}

}  // namespace platform
