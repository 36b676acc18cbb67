#include "tools/capture/video_encoder.h"

#include <fstream>
#include <string>

#include "tools/capture/part_record.h"
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

bool muxVideo(const std::vector<VideoPiece>& parts, const std::filesystem::path& list,
              const std::optional<std::filesystem::path>& wave, const std::string& record,
              const std::filesystem::path& output) {
    std::vector<std::string> command = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y"};
    if (parts.size() == 1) {
        command.insert(command.end(), {"-i", parts.front().file.string()});
    } else {
        // The concat demuxer joins the parts' packets as they are: no frame is
        // encoded again. Each part's video starts at 0 and lasts its frames
        // exactly, whatever its own sound says: an AAC encoder starts it early
        // and pads its end.
        std::ofstream names(list);
        names.precision(17);
        for (const VideoPiece& part : parts)
            names << "file " << quotedForList(part.file.string()) << "\ninpoint 0\nduration "
                  << static_cast<double>(part.frames) / 60 << "\n";
        if (!names.flush()) return false;
        command.insert(command.end(), {"-f", "concat", "-safe", "0", "-i", list.string()});
    }
    if (wave) command.insert(command.end(), {"-i", wave->string()});
    command.insert(command.end(), {"-map", "0:v", "-c:v", "copy"});
    if (wave) command.insert(command.end(), {"-map", "1:a", "-c:a", "aac", "-b:a", "192k"});
    command.insert(command.end(), {"-metadata", std::string(partTagName) + "=" + record});
    // An MP4 file keeps a key of our own only among its metadata tags.
    if (output.extension() == ".mp4") command.insert(command.end(), {"-movflags", "+faststart+use_metadata_tags"});
    command.push_back(output.string());
    return runProgram(command) == 0;
}

}  // namespace capture
