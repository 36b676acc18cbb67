#include "tools/capture/capture_options.h"

namespace capture {

namespace {

bool videoExtension(const std::filesystem::path& file) {
    const std::string extension = file.extension().string();
    return extension == ".mp4" || extension == ".mkv";
}

}  // namespace

std::string usage() {
    return "usage: kvor-capture --png DIR | --video FILE.mp4|FILE.mkv\n"
           "Records the show from the datas/ directory here, writing kvorlog.txt here.\n";
}

ParsedOptions parseOptions(const std::vector<std::string>& arguments) {
    CaptureOptions options;
    for (size_t k = 0; k < arguments.size(); ++k) {
        const std::string& argument = arguments[k];
        const bool hasValue = k + 1 < arguments.size();
        if (argument == "--png" && hasValue) {
            options.pngDirectory = arguments[++k];
        } else if (argument == "--video" && hasValue) {
            options.videoFile = arguments[++k];
            if (!videoExtension(*options.videoFile)) return {{}, "the video file must end in .mp4 or .mkv"};
        } else {
            return {{}, hasValue || argument.rfind("--", 0) != 0 ? "unknown argument " + argument
                                                                 : argument + " needs a value"};
        }
    }
    if (options.pngDirectory.has_value() == options.videoFile.has_value())
        return {{}, "give either --png DIR or --video FILE"};
    return {options, {}};
}

}  // namespace capture
