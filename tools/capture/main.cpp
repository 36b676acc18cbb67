// kvor-capture: records the show from datas/ in the current directory on the
// capture driver, without the launcher, as PNG frames or as a video with its
// soundtrack. Frames are exact: nothing is paced or skipped.

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/capture/capture_options.h"
#include "tools/capture/child_process.h"
#include "tools/capture/join_parts.h"
#include "tools/capture/output_check.h"
#include "tools/capture/show_recording.h"
#include "tools/version/version_option.h"

int main(int argc, char** argv) {
    if (printVersionIfAsked(argc, argv, "kvor-capture")) return 0;
    const capture::ParsedOptions parsed = capture::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::fprintf(stderr, "kvor-capture: %s\n%s", parsed.error.c_str(), capture::usage().c_str());
        return 2;
    }
    if (parsed.options->videoFile && !capture::findProgram("ffmpeg")) {
        std::fprintf(stderr,
                     "kvor-capture: ffmpeg is not installed, so no video can be made; install it "
                     "(apt-get install ffmpeg) or record PNG frames with --png DIR\n");
        return 255;
    }
    if (const auto problem = capture::outputProblem(*parsed.options)) {
        std::fprintf(stderr, "kvor-capture: cannot write %s\n", problem->c_str());
        return 2;
    }
    if (!parsed.options->joinParts.empty())
        return capture::joinParts(parsed.options->joinParts, *parsed.options->videoFile);
    // The JPEG loader prints each image's size on standard output; the tool
    // speaks on standard error only, so that noise goes nowhere.
    std::freopen("/dev/null", "w", stdout);
    return capture::recordShow(*parsed.options, isatty(STDERR_FILENO) == 1);
}
