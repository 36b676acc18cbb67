#include "tools/capture/job_split.h"

#include <algorithm>

namespace capture {

std::vector<FrameRange> splitFrames(FrameRange range, unsigned jobs) {
    const uint64_t frames = uint64_t{range.last} - range.first + 1;
    const uint64_t count = std::clamp<uint64_t>(jobs, 1, frames);
    std::vector<FrameRange> runs;
    uint64_t first = range.first;
    for (uint64_t k = 0; k < count; ++k) {
        const uint64_t length = frames / count + (k < frames % count ? 1 : 0);
        runs.push_back({static_cast<uint32_t>(first), static_cast<uint32_t>(first + length - 1)});
        first += length;
    }
    return runs;
}

}  // namespace capture
