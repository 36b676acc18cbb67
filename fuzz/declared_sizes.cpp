#include "fuzz/declared_sizes.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace {

uint32_t field32(const uint8_t* data, size_t size, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4 && offset + i < size; ++i) value |= uint32_t{data[offset + i]} << (8 * i);
    return value;
}

std::string lowerExtension(std::string_view name) {
    const size_t dot = name.rfind('.');
    std::string extension(dot == std::string_view::npos ? "" : name.substr(dot + 1));
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

}  // namespace

uint64_t tgaPixels(const uint8_t* data, size_t size) {
    const uint64_t width = size > 13 ? data[12] | data[13] << 8 : 0;
    const uint64_t height = size > 15 ? data[14] | data[15] << 8 : 0;
    return width * height;
}

// Markers C4, C8 and CC are not frames.
uint64_t jpegPixels(const uint8_t* data, size_t size) {
    uint64_t largest = 0;
    for (size_t i = 0; i + 8 < size; ++i) {
        if (data[i] != 0xFF || (data[i + 1] & 0xF0) != 0xC0) continue;
        if (data[i + 1] == 0xC4 || data[i + 1] == 0xC8 || data[i + 1] == 0xCC) continue;
        const uint64_t height = data[i + 5] << 8 | data[i + 6];
        const uint64_t width = data[i + 7] << 8 | data[i + 8];
        largest = std::max(largest, width * height);
    }
    return largest;
}

uint64_t zkvBodyPixels(const uint8_t* body, size_t size) {
    const uint32_t flags = size > 7 ? body[6] : 0;
    const size_t sizeOffset = 8 + (flags & 0x02 ? 8 : 0) + (flags & 0x04 ? 4 : 0);
    return uint64_t{field32(body, size, sizeOffset) & 0xFFFF} * (field32(body, size, sizeOffset + 4) & 0xFFFF);
}

uint64_t zkvFilePixels(const uint8_t* data, size_t size) {
    if (size < 2 || data[0] != 0x1F || data[1] != 0x8B) return zkvBodyPixels(data, size);
    uint8_t head[64] = {};
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) return 0;
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(std::min<size_t>(size, UINT32_MAX));
    stream.next_out = head;
    stream.avail_out = sizeof head;
    inflate(&stream, Z_SYNC_FLUSH);
    const size_t got = sizeof head - stream.avail_out;
    inflateEnd(&stream);
    return zkvBodyPixels(head, got);
}

uint64_t texturePixels(std::string_view name, const uint8_t* data, size_t size) {
    const std::string extension = lowerExtension(name);
    if (extension == "tga" || extension == "bmp") return tgaPixels(data, size);
    if (extension == "jpg") return jpegPixels(data, size);
    if (extension == "zkv") return zkvFilePixels(data, size);
    return 0;
}

// The magic's 7 bytes, the name up to its zero, then firstFrame and lastFrame.
int64_t sceneFrames(const uint8_t* data, size_t size) {
    const uint8_t* end = size > 7 ? std::find(data + 7, data + size, uint8_t{0}) : data + size;
    const size_t lastFrameAt = static_cast<size_t>(end - data) + 1 + 4;
    if (lastFrameAt + 4 > size) return 0;
    return static_cast<int64_t>(static_cast<int32_t>(field32(data, size, lastFrameAt))) + 1;
}
