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
    if (at - first <= std::chrono::seconds(1)) return;
    if (settledLateCount++ < namedLateFrames) settledLateFrames.push_back(count);
}

std::string FramePacing::summary() const {
    std::string line = std::to_string(count) + " frames, " + std::to_string(lateCount) + " late (" +
                       std::to_string(settledLateCount) + " after the first second";
    for (size_t i = 0; i < settledLateFrames.size(); ++i)
        line += (i == 0 ? ": frames " : ", ") + std::to_string(settledLateFrames[i]);
    if (settledLateCount > settledLateFrames.size()) line += ", ...";
    char worst[32];
    std::snprintf(worst, sizeof worst, "), worst %.1f ms", std::chrono::duration<double, std::milli>(longest).count());
    return line + worst;
}

}  // namespace platform
