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
    std::string frames;
    for (size_t i = 0; i < settledLateFrames.size(); ++i)
        frames += (i == 0 ? ": frames " : ", ") + std::to_string(settledLateFrames[i]);
    if (settledLateCount > settledLateFrames.size()) frames += ", ...";
    char line[128];
    std::snprintf(line, sizeof line, "%llu frames, %llu late (%llu after the first second", static_cast<unsigned long long>(count),
                  static_cast<unsigned long long>(lateCount), static_cast<unsigned long long>(settledLateCount));
    char worst[32];
    std::snprintf(worst, sizeof worst, "), worst %.1f ms", std::chrono::duration<double, std::milli>(longest).count());
    return line + frames + worst;
}

}  // namespace platform
