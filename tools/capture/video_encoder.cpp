#include "tools/capture/video_encoder.h"

#include <string>

#include "tools/capture/yuv_frame.h"

namespace capture {

bool VideoEncoder::addFrame(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb) {
    if (!ffmpeg) {
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        ffmpeg = std::make_unique<ChildProcess>(std::vector<std::string>{
            "ffmpeg", "-hide_banner", "-loglevel", "error", "-y", "-f", "rawvideo", "-pix_fmt", "yuv420p",
            "-video_size", size, "-framerate", "60", "-i", "pipe:0", "-c:v", "libx264", "-preset", "ultrafast",
            "-crf", "18", "-pix_fmt", "yuv420p", "-r", "60", output.string()});
    }
    const std::vector<uint8_t> planes = yuv420(width, height, rgb);
    return ffmpeg->write(planes.data(), planes.size());
}

bool VideoEncoder::finish() { return ffmpeg && ffmpeg->finish() == 0; }

bool muxVideo(const std::filesystem::path& video, const std::optional<std::filesystem::path>& wave,
              const std::filesystem::path& output) {
    std::vector<std::string> command = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y",
                                        "-i",     video.string()};
    if (wave) command.insert(command.end(), {"-i", wave->string(), "-map", "0:v", "-map", "1:a", "-c:a", "aac", "-b:a", "192k"});
    command.insert(command.end(), {"-c:v", "copy"});
    if (output.extension() == ".mp4") command.insert(command.end(), {"-movflags", "+faststart"});
    command.push_back(output.string());
    return runProgram(command) == 0;
}

}  // namespace capture
