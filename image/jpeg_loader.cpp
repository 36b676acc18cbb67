#include "image/jpeg_loader.h"

#include <csetjmp>
#include <cstdio>
#include <new>

// clang-format off
#include <jpeglib.h>
// clang-format on

#include "base/fatal.h"
#include "base/log.h"
#include "base/uninitialised_array.h"

namespace {

// libjpeg's standard error manager followed by the place its error exit jumps to.
struct ErrorRecord {
    jpeg_error_mgr manager;
    std::jmp_buf jumpBuffer;
};

// Everything libjpeg writes during a decode lives on the heap, not in load's
// frame, so it keeps its value across the jump back.
struct Decoding {
    jpeg_decompress_struct decoder{};
    ErrorRecord errors{};

    ~Decoding() { jpeg_destroy_decompress(&decoder); }
};

// Replaces libjpeg's exit: its message goes out through the default routine,
// then control returns to load.
[[noreturn]] void jumpBack(j_common_ptr decoder) {
    (*decoder->err->output_message)(decoder);
    std::longjmp(reinterpret_cast<ErrorRecord*>(decoder->err)->jumpBuffer, 1);
}

}  // namespace

int JpegLoader::load(const char* fileName) {
    file = openImageFile(fileName, "rb");
    if (!file) return 0;
    const auto decoding = std::make_unique<Decoding>();
    decoding->decoder.err = jpeg_std_error(&decoding->errors.manager);
    decoding->errors.manager.error_exit = jumpBack;
    if (setjmp(decoding->errors.jumpBuffer)) return rejected();
    decode(decoding->decoder);
    file.reset();
    // libjpeg counts a warning, among others, for a file that ends early (it
    // supplies a fake end of image); the picture is used all the same.
    if (decoding->errors.manager.num_warnings != 0) logFormat("warning : data from %s are corrupted", fileName);
    rgbBuffer.reset();
    return 1;
}

void JpegLoader::decode(jpeg_decompress_struct& decoder) {
    jpeg_create_decompress(&decoder);
    jpeg_stdio_src(&decoder, file.get());
    jpeg_read_header(&decoder, TRUE);
    width = static_cast<uint16_t>(decoder.image_width);
    height = static_cast<uint16_t>(decoder.image_height);
    depth = 24;
    // Already the default for colour images; greyscale ones are expanded, and
    // CMYK, which libjpeg cannot turn into RGB, is rejected by it.
    decoder.out_color_space = JCS_RGB;
    allocateBuffers();
    std::printf("%d %d", width, height);
    jpeg_start_decompress(&decoder);
    for (size_t row = 0; row < height; ++row) {
        JSAMPROW rowStart = rgbBuffer.get();
        jpeg_read_scanlines(&decoder, &rowStart, 1);
        convertRow(row);
    }
    jpeg_finish_decompress(&decoder);
}

void JpegLoader::allocateBuffers() {
    allocatePixels();
    try {
        rgbBuffer = uninitialisedArray<uint8_t>(size_t{width} * 3);
    } catch (const std::bad_alloc&) {
        fatalError(0);
    }
}

void JpegLoader::convertRow(size_t row) {
    const uint8_t* rgb = rgbBuffer.get();
    uint32_t* const target = pixels.get() + row * width;
    for (size_t column = 0; column < width; ++column, rgb += 3)
        target[column] = uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2];
}

// A rejection after the header keeps the image's size with every pixel 0.
int JpegLoader::rejected() {
    file.reset();
    rgbBuffer.reset();
    if (pixels) clearFrom(0);
    return 0;
}
