#include "tools/capture/capture_options.h"

#include <charconv>
#include <cstdio>
#include <string_view>

namespace capture {

namespace {

bool videoExtension(const std::filesystem::path& file) {
    const std::string extension = file.extension().string();
    return extension == ".mp4" || extension == ".mkv";
}

}  // namespace

std::string usage() {
    return "usage: kvor-capture --png DIR | --video FILE.mp4|FILE.mkv [--frames FIRST[-LAST]] [--jobs N]\n"
           "                    [--enhanced [--size WxH] [--stretch]] [--scene FILE.kvs]\n"
           "       kvor-capture --version\n"
           "Records the show from the datas/ directory here, writing kvorlog.txt here. --frames keeps\n"
           "only those frames of the show (counted from 0): the show runs up to LAST, drawing nothing\n"
           "before FIRST. --jobs splits the frames among N processes (default: one per processor),\n"
           "a video's parts joined as they are. --enhanced draws the show at WxH (1920x1080 by default)\n"
           "with 32-bit colour and 4x multisampling, letter-boxed to 4:3 unless --stretch.\n"
           "--scene records that scene alone, its textures taken from its folder, from its frame 0 to\n"
           "its last, without titles or music; --frames then counts the scene's frames.\n"
           "       kvor-capture --join PART... --video FILE.mp4|FILE.mkv\n"
           "joins videos made with --frames FIRST-LAST --video PART into one, with the soundtrack from\n"
           "datas/ here over the whole span.\n";
}

std::optional<FrameRange> parseFrameRange(const std::string& text) {
    auto number = [](std::string_view digits) -> std::optional<uint32_t> {
        uint32_t value = 0;
        const char* end = digits.data() + digits.size();
        auto [stop, error] = std::from_chars(digits.data(), end, value);
        if (digits.empty() || error != std::errc() || stop != end) return std::nullopt;
        return value;
    };
    const std::string_view whole(text);
    const size_t dash = whole.find('-');
    const std::optional<uint32_t> first = number(whole.substr(0, dash));
    const std::optional<uint32_t> last = dash == std::string_view::npos ? first : number(whole.substr(dash + 1));
    if (!first || !last || *first > *last) return std::nullopt;
    return FrameRange{*first, *last};
}

std::optional<platform::EnhancedFrame> parseSize(const std::string& text) {
    unsigned width = 0, height = 0;
    char separator = 0, extra = 0;
    if (std::sscanf(text.c_str(), "%u%c%u%c", &width, &separator, &height, &extra) != 3 || separator != 'x')
        return std::nullopt;
    if (width < 16 || height < 16 || width > 8192 || height > 8192) return std::nullopt;
    return platform::EnhancedFrame{width, height, false};
}

ParsedOptions parseOptions(const std::vector<std::string>& arguments) {
    CaptureOptions options;
    std::optional<platform::EnhancedFrame> size;
    bool enhanced = false, stretch = false;
    for (size_t k = 0; k < arguments.size(); ++k) {
        const std::string& argument = arguments[k];
        const bool hasValue = k + 1 < arguments.size();
        if (argument == "--enhanced") {
            enhanced = true;
        } else if (argument == "--stretch") {
            stretch = true;
        } else if (argument == "--size" && hasValue) {
            size = parseSize(arguments[++k]);
            if (!size) return {{}, "the size must be WIDTHxHEIGHT, each from 16 to 8192"};
        } else if (argument == "--frames" && hasValue) {
            options.frames = parseFrameRange(arguments[++k]);
            if (!options.frames) return {{}, "the frames must be FIRST or FIRST-LAST, FIRST not after LAST"};
        } else if (argument == "--jobs" && hasValue) {
            unsigned jobs = 0;
            char extra = 0;
            if (std::sscanf(arguments[++k].c_str(), "%u%c", &jobs, &extra) != 1 || jobs < 1 || jobs > 256)
                return {{}, "the jobs must be a number from 1 to 256"};
            options.jobs = jobs;
        } else if (argument == "--join" && hasValue) {
            while (k + 1 < arguments.size() && arguments[k + 1].rfind("--", 0) != 0)
                options.joinParts.emplace_back(arguments[++k]);
            if (options.joinParts.empty()) return {{}, "--join needs the parts to join"};
        } else if (argument == "--scene" && hasValue) {
            options.scene = arguments[++k];
        } else if (argument == "--png" && hasValue) {
            options.pngDirectory = arguments[++k];
        } else if (argument == "--video" && hasValue) {
            options.videoFile = arguments[++k];
            if (!videoExtension(*options.videoFile)) return {{}, "the video file must end in .mp4 or .mkv"};
        } else {
            return {{},
                    hasValue || argument.rfind("--", 0) != 0 ? "unknown argument " + argument
                                                             : argument + " needs a value"};
        }
    }
    if (!options.joinParts.empty() &&
        (!options.videoFile || options.pngDirectory || options.frames || options.jobs || enhanced || size || stretch))
        return {{}, "--join takes only its parts and --video FILE: the parts hold their frames and picture"};
    if (options.pngDirectory.has_value() == options.videoFile.has_value())
        return {{}, "give either --png DIR or --video FILE"};
    if ((size || stretch) && !enhanced) return {{}, "--size and --stretch go with --enhanced"};
    if (enhanced) {
        options.enhanced = size.value_or(platform::EnhancedFrame{1920, 1080, false});
        options.enhanced->stretch = stretch;
    }
    return {options, {}};
}

}  // namespace capture
