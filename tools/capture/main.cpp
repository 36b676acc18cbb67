// kvor-capture: records the show from datas/ in the current directory on the
// capture driver, without the launcher, as PNG frames or as a video with its
// soundtrack. Frames are exact: nothing is paced or skipped.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
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
    // Mesa's software rasteriser draws on the calling thread, not threads of
    // its own: its fences can be freed while a rasteriser thread still signals
    // one, and a capture that reads every frame back crashed on the corrupted
    // heap once in some hundreds of runs. The jobs keep the processors busy,
    // and one thread takes a fifth less processor time. Set before any thread
    // starts; a value the user gives is kept.
    setenv("LP_NUM_THREADS", "0", 0);
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
