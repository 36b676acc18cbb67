#pragma once
// A capture shared among processes of its own, each drawing a run of
// consecutive frames; a video's parts are joined as they are, and its sound
// comes from the last job, which plays the show up to the kept frames' end.

#include "tools/capture/capture_options.h"
#include "tools/capture/show_run.h"

namespace capture {

// Returns 0 when every job recorded its share, else the first failed job's status.
int recordInJobs(const CaptureOptions& options, const ShowRun& whole, unsigned jobs);

}  // namespace capture
