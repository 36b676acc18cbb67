#include "tools/capture/capture_options.h"

#include <cstdio>

namespace capture {

namespace {

bool videoExtension(const std::filesystem::path& file) {
    const std::string extension = file.extension().string();
    return extension == ".mp4" || extension == ".mkv";
}

}  // namespace

std::string usage() {
    return "usage: kvor-capture --png DIR | --video FILE.mp4|FILE.mkv [--enhanced [--size WxH] [--stretch]]\n"
           "Records the show from the datas/ directory here, writing kvorlog.txt here. --enhanced draws\n"
           "it at WxH (1920x1080 by default) with 32-bit colour and 4x multisampling, letter-boxed to 4:3\n"
           "unless --stretch.\n";
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
