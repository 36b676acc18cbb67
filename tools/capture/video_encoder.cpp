#include "tools/capture/video_encoder.h"

#include <fstream>
#include <string>

#include "tools/capture/yuv_frame.h"

namespace capture {

namespace {

// A name in single quotes as ffmpeg's lists read it: a quote inside is ended,
// escaped and reopened.
std::string quotedForList(const std::string& name) {
    std::string quoted = "'";
    for (char c : name) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

bool VideoEncoder::addFrame(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb) {
    if (!ffmpeg) {
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        ffmpeg = std::make_unique<ChildProcess>(std::vector<std::string>{
            "ffmpeg",   "-hide_banner", "-loglevel",   "error",   "-y",           "-f",   "rawvideo",
            "-pix_fmt", "yuv420p",      "-video_size", size,      "-framerate",   "60",   "-i",
            "pipe:0",   "-c:v",         "libx264",     "-preset", "ultrafast",    "-crf", "18",
            "-pix_fmt", "yuv420p",      "-r",          "60",      output.string()});
    }
    const std::vector<uint8_t> planes = yuv420(width, height, rgb);
    return ffmpeg->write(planes.data(), planes.size());
}

bool VideoEncoder::finish() { return ffmpeg && ffmpeg->finish() == 0; }

bool muxVideo(const std::vector<std::filesystem::path>& parts, const std::filesystem::path& list,
              const std::optional<std::filesystem::path>& wave, const std::filesystem::path& output) {
    std::vector<std::string> command = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y"};
    if (parts.size() == 1) {
        command.insert(command.end(), {"-i", parts.front().string()});
    } else {
        // The concat demuxer joins the parts' packets as they are: no frame is encoded again.
        std::ofstream names(list);
        for (const std::filesystem::path& part : parts) names << "file " << quotedForList(part.string()) << "\n";
        if (!names.flush()) return false;
        command.insert(command.end(), {"-f", "concat", "-safe", "0", "-i", list.string()});
    }
    if (wave)
        command.insert(command.end(),
                       {"-i", wave->string(), "-map", "0:v", "-map", "1:a", "-c:a", "aac", "-b:a", "192k"});
    command.insert(command.end(), {"-c:v", "copy"});
    if (output.extension() == ".mp4") command.insert(command.end(), {"-movflags", "+faststart"});
    command.push_back(output.string());
    return runProgram(command) == 0;
}

}  // namespace capture
