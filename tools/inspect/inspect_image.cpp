#include <cstdio>
#include <iostream>
#include <optional>

#include "image/file_name.h"
#include "image/image_kind.h"
#include "image/texture_surface.h"
#include "platform/native_path.h"
#include "tools/inspect/command_line.h"
#include "tools/inspect/json_writer.h"
#include "tools/inspect/pixel_outputs.h"
#include "tools/inspect/quiet_standard_output.h"
#include "tools/inspect/subcommands.h"

namespace {

const char* loaderName(ImageKind kind) {
    switch (kind) {
        case ImageKind::tga: return "tga";
        case ImageKind::zkv: return "zkv";
        case ImageKind::jpeg: return "jpeg";
        case ImageKind::unrecognized: break;
    }
    return "none";
}

bool canOpen(const std::string& file) {
    std::FILE* stream = std::fopen(nativePath(file.c_str()).c_str(), "rb");
    if (stream != nullptr) std::fclose(stream);
    return stream != nullptr;
}

std::string describe(const std::string& file, ImageKind kind, const ImageLoader& image) {
    JsonWriter json;
    json.beginObject().key("file").value(file).key("loader").value(loaderName(kind));
    json.key("width").value(unsigned{image.width}).key("height").value(unsigned{image.height});
    json.key("depth").value(unsigned{image.depth}).key("hasAlpha").value(hasAlpha(image));
    json.key("argbSha256").value(argbSha256(image)).endObject();
    return json.text();
}

}  // namespace

int inspectImage(const std::vector<std::string>& arguments) {
    const CommandLine line = parseCommandLine(arguments, {"--opacity", "--png"});
    if (!line.error.empty()) return failure("image", line.error, exitUsage);
    if (line.positional.size() != 1) return failure("image", "expected one FILE", exitUsage);
    const std::string& file = line.positional[0];
    std::optional<float> opacity;
    if (auto given = line.options.find("--opacity"); given != line.options.end()) {
        opacity = parseNumber<float>(given->second);
        if (!opacity) return failure("image", "--opacity needs a number, not " + given->second, exitUsage);
    }
    const ImageKind kind = imageKindOf(FileName(file.c_str()));
    if (kind == ImageKind::unrecognized)
        return failure("image", file + ": unrecognized file format (the extension must be tga, bmp, zkv or jpg)", exitBadInput);
    if (!canOpen(file)) return failure("image", "cannot open " + file, exitBadInput);
    const std::unique_ptr<ImageLoader> image = makeLoader(kind);
    int loaded = 0;
    {
        QuietStandardOutput quiet;
        loaded = image->load(file.c_str());
    }
    if (!loaded) return failure("image", file + ": not an image this loader can decode", exitBadInput);
    if (opacity) image->setAlpha(*opacity);
    std::cout << describe(file, kind, *image) << std::endl;
    std::string error;
    if (auto png = line.options.find("--png"); png != line.options.end() && !writeRgbaPng(png->second, *image, error))
        return failure("image", "cannot write " + png->second + ": " + error, exitBadInput);
    return exitSuccess;
}
