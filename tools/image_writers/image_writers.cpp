#include "tools/image_writers/image_writers.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

// clang-format off
#include <jpeglib.h>
// clang-format on

namespace image_writers {

namespace {

void put16(Bytes& bytes, uint32_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(Bytes& bytes, uint32_t value) {
    put16(bytes, value & 0xFFFF);
    put16(bytes, value >> 16);
}

// Image type 1 (colour-mapped) or 2 (true colour); descriptor bits 0-3 give the
// alpha bits, bit 5 clear means bottom row first.
Bytes tgaHeader(uint8_t imageType, uint16_t width, uint16_t height, int depth) {
    const bool mapped = imageType == 1;
    Bytes header = {0, static_cast<uint8_t>(mapped ? 1 : 0), imageType};
    put16(header, 0);
    put16(header, mapped ? 256 : 0);
    header.push_back(mapped ? 24 : 0);
    put16(header, 0);
    put16(header, 0);
    put16(header, width);
    put16(header, height);
    header.push_back(static_cast<uint8_t>(depth));
    header.push_back(depth == 32 ? 8 : 0);
    return header;
}

void putTruePixel(Bytes& bytes, uint32_t argb, int depth) {
    if (depth == 16) return put16(bytes, (argb >> 9 & 0x7C00) | (argb >> 6 & 0x03E0) | (argb >> 3 & 0x001F));
    for (int shift = 0; shift < depth; shift += 8) bytes.push_back(static_cast<uint8_t>(argb >> shift));
}

}  // namespace

Bytes tgaTrueColour(const Image& image, int depth) {
    Bytes bytes = tgaHeader(2, image.width, image.height, depth);
    for (size_t row = image.height; row-- > 0;)
        for (size_t column = 0; column < image.width; ++column)
            putTruePixel(bytes, image.argb[row * image.width + column], depth);
    return bytes;
}

Bytes tgaColourMapped(uint16_t width, uint16_t height, const std::vector<uint8_t>& indices,
                      const std::vector<uint32_t>& palette) {
    Bytes bytes = tgaHeader(1, width, height, 8);
    for (size_t entry = 0; entry < 256; ++entry) putTruePixel(bytes, entry < palette.size() ? palette[entry] : 0, 24);
    for (size_t row = height; row-- > 0;)
        bytes.insert(bytes.end(), indices.begin() + row * width, indices.begin() + (row + 1) * width);
    return bytes;
}

Bytes rgbSamples(const Image& image) {
    Bytes samples;
    samples.reserve(image.argb.size() * 3);
    for (uint32_t pixel : image.argb)
        for (int shift : {16, 8, 0}) samples.push_back(static_cast<uint8_t>(pixel >> shift));
    return samples;
}

Bytes jpeg(uint16_t width, uint16_t height, const Bytes& samples, int components, int quality,
           ChromaSampling chroma) {
    jpeg_compress_struct encoder{};
    jpeg_error_mgr errors{};
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    unsigned char* output = nullptr;  // libjpeg allocates it with malloc
    unsigned long outputSize = 0;
    jpeg_mem_dest(&encoder, &output, &outputSize);
    encoder.image_width = width;
    encoder.image_height = height;
    encoder.input_components = components;
    encoder.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&encoder);
    jpeg_set_quality(&encoder, quality, TRUE);
    if (chroma == ChromaSampling::full)
        for (int c = 0; c < encoder.num_components; ++c)
            encoder.comp_info[c].h_samp_factor = encoder.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&encoder, TRUE);
    while (encoder.next_scanline < encoder.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(samples.data()) + size_t{encoder.next_scanline} * width * components;
        jpeg_write_scanlines(&encoder, &row, 1);
    }
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    Bytes bytes(output, output + outputSize);
    std::free(output);
    return bytes;
}

Bytes zkvBody(const Image& image, int depth, bool alphaPlane) {
    Bytes body = {'z', 'k', 'v', 0, 0, 1};
    put16(body, alphaPlane ? 0x10 : 0);
    put32(body, image.width);
    put32(body, image.height);
    body.push_back(static_cast<uint8_t>(depth));
    // With a plane the alpha goes there: the loader ORs it into the pixels.
    const uint32_t colourMask = alphaPlane ? 0x00FFFFFF : 0xFFFFFFFF;
    for (size_t row = image.height; row-- > 0;)
        for (size_t column = 0; column < image.width; ++column)
            putTruePixel(body, image.argb[row * image.width + column] & colourMask, depth == 16 ? 16 : 32);
    if (!alphaPlane) return body;
    put32(body, image.width);
    put32(body, image.height);
    for (uint32_t pixel : image.argb) body.push_back(static_cast<uint8_t>(pixel >> 24));
    return body;
}

Bytes gzip(const Bytes& bytes, int level) {
    z_stream stream{};
    // 15 window bits plus 16: a gzip header and trailer around the deflate data.
    if (deflateInit2(&stream, level, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    Bytes packed(deflateBound(&stream, bytes.size()));
    stream.next_in = const_cast<uint8_t*>(bytes.data());
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = packed.data();
    stream.avail_out = static_cast<uInt>(packed.size());
    const int result = deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END) throw std::runtime_error("deflate failed");
    return packed;
}

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream stream(path, std::ios::binary);
    stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!stream) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace image_writers
