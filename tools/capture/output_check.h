#pragma once
// The output a capture is asked for, checked before the show starts: a run
// that cannot keep its frames should not play the show first.

#include <optional>
#include <string>

#include "tools/capture/capture_options.h"

namespace capture {

// "PATH: the system's reason" when the PNG folder (created here, with its
// parents) or the video's folder cannot take a new file, or when the video
// names a folder; nothing when the output can be written.
std::optional<std::string> outputProblem(const CaptureOptions& options);

}  // namespace capture
