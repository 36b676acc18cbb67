#pragma once
// One recording of the show: the capture driver's frames to PNG files or to
// ffmpeg, the progress, the player commands turned into the soundtrack.

#include "tools/capture/capture_options.h"

namespace capture {

// Runs the show; 0 when it is recorded. A fatal stop of the show ends the
// process with its own message and status.
int recordShow(const CaptureOptions& options, bool terminal);

}  // namespace capture
