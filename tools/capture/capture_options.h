#pragma once
// The command line of kvor-capture.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace capture {

struct CaptureOptions {
    std::optional<std::filesystem::path> pngDirectory;  // --png DIR
    std::optional<std::filesystem::path> videoFile;     // --video FILE (.mp4 or .mkv)
};

struct ParsedOptions {
    std::optional<CaptureOptions> options;
    std::string error;  // set when options is not
};

ParsedOptions parseOptions(const std::vector<std::string>& arguments);
std::string usage();

}  // namespace capture
