// The capture driver's PNG sink: frame N becomes frameNNNNNN.png.

#include <png.h>

#include <cstdio>
#include <memory>

#include "platform/tool_interface.h"

namespace platform {

namespace {

// libpng reports errors by longjmp: nothing here owns a resource that the
// jump could skip, the caller closes the file.
bool writePng(std::FILE* file, const CapturedFrame& frame) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, frame.width, frame.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);  // frames come fast; size matters less
    // One filter for every row: trying all five on each row took a third of a
    // frame's capture, and on the show's frames this one alone packs as well.
    png_set_filter(png, 0, PNG_FILTER_SUB);
    png_write_info(png, info);
    for (uint32_t row = 0; row < frame.height; ++row)
        png_write_row(png, const_cast<png_bytep>(&frame.rgb[size_t(row) * frame.width * 3]));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool writeFramePng(const std::filesystem::path& path, const CapturedFrame& frame) {
    std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    return file != nullptr && writePng(file.get(), frame);
}

}  // namespace

std::string framePngName(uint32_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06u.png", index);
    return name;
}

FrameSink pngFrameSink(std::filesystem::path directory, WriteFailure cannotWrite) {
    std::error_code ignored;
    std::filesystem::create_directories(directory, ignored);
    return [directory = std::move(directory), cannotWrite = std::move(cannotWrite)](const CapturedFrame& frame) {
        const std::filesystem::path path = directory / framePngName(frame.index);
        if (writeFramePng(path, frame)) return;
        if (cannotWrite)
            cannotWrite(path);
        else
            std::fprintf(stderr, "kvor: cannot write the frame %s\n", path.c_str());
    };
}

}  // namespace platform
