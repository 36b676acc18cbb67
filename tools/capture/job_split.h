#pragma once
// A capture's frames shared among jobs: runs of consecutive frames, in order.

#include <vector>

#include "tools/capture/capture_options.h"

namespace capture {

// range cut into jobs runs as even as can be (the first ones a frame longer),
// none empty: fewer when range has fewer frames than jobs.
std::vector<FrameRange> splitFrames(FrameRange range, unsigned jobs);

}  // namespace capture
