#pragma once
// The command line of kvor-capture.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/render_output.h"

namespace capture {

struct CaptureOptions {
    std::optional<std::filesystem::path> pngDirectory;  // --png DIR
    std::optional<std::filesystem::path> videoFile;     // --video FILE (.mp4 or .mkv)
    // --enhanced [--size WxH] [--stretch]: the enhanced frame, 1920 x 1080 unless sized.
    std::optional<platform::EnhancedFrame> enhanced;
};

// "WxH" with both between 16 and 8192; nothing otherwise.
std::optional<platform::EnhancedFrame> parseSize(const std::string& text);

struct ParsedOptions {
    std::optional<CaptureOptions> options;
    std::string error;  // set when options is not
};

ParsedOptions parseOptions(const std::vector<std::string>& arguments);
std::string usage();

}  // namespace capture
