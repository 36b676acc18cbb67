#pragma once
// The command line of kvor-capture.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/ddraw/render_output.h"

namespace capture {

struct FrameRange {
    uint32_t first = 0, last = 0;
    bool contains(uint32_t frame) const { return frame >= first && frame <= last; }
};

struct CaptureOptions {
    std::optional<std::filesystem::path> pngDirectory;  // --png DIR
    std::optional<std::filesystem::path> videoFile;     // --video FILE (.mp4 or .mkv)
    // --enhanced [--size WxH] [--stretch]: the enhanced frame, 1920 x 1080 unless sized.
    std::optional<platform::EnhancedFrame> enhanced;
    // --frames FIRST[-LAST]: only the show's frames FIRST to LAST (from 0).
    std::optional<FrameRange> frames;
    // --jobs N: the frames split among N processes; none: one per processor.
    std::optional<unsigned> jobs;
    // --join PART...: videos of consecutive ranges joined into the video, drawing nothing.
    std::vector<std::filesystem::path> joinParts;
    // --scene FILE.kvs: that scene alone, its frames counted from its frame 0.
    std::optional<std::filesystem::path> scene;
};

// "N" or "N-M" with N <= M; nothing otherwise.
std::optional<FrameRange> parseFrameRange(const std::string& text);

// "WxH" with both between 16 and 8192; nothing otherwise.
std::optional<platform::EnhancedFrame> parseSize(const std::string& text);

struct ParsedOptions {
    std::optional<CaptureOptions> options;
    std::string error;  // set when options is not
};

ParsedOptions parseOptions(const std::vector<std::string>& arguments);
std::string usage();

}  // namespace capture
