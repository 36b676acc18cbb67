#pragma once
// The video through ffmpeg: frames piped in as raw YUV 4:2:0 at 60 per
// second, encoded as H.264; then the soundtrack muxed in.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/capture/child_process.h"

namespace capture {

class VideoEncoder {
public:
    explicit VideoEncoder(std::filesystem::path output) : output(std::move(output)) {}

    // The first frame starts ffmpeg at its size. False when ffmpeg stopped.
    bool addFrame(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb);
    // Ends the stream; false when ffmpeg failed.
    bool finish();

private:
    std::filesystem::path output;
    std::unique_ptr<ChildProcess> ffmpeg;
};

// A video file and its frames, at 60 per second.
struct VideoPiece {
    std::filesystem::path file;
    uint32_t frames = 0;
};

// Copies the video streams of parts, one after the other, and the sound of
// wave (encoded as AAC) into output, or the video alone without wave, the
// parts' own sound left out; record goes in the container's metadata. list is
// where the parts' list for ffmpeg goes when there are several. False when
// ffmpeg failed.
bool muxVideo(const std::vector<VideoPiece>& parts, const std::filesystem::path& list,
              const std::optional<std::filesystem::path>& wave, const std::string& record,
              const std::filesystem::path& output);

}  // namespace capture
