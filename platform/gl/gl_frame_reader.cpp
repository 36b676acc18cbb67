#include "platform/gl/gl_frame_reader.h"

#include <algorithm>
#include <cstring>

namespace platform {

std::vector<uint8_t> widenRgb565(const uint16_t* rows, uint32_t width, uint32_t height) {
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (size_t row = 0; row < height; ++row) {
        const uint16_t* source = &rows[(height - 1 - row) * width];
        uint8_t* out = &rgb[row * width * 3];
        for (size_t column = 0; column < width; ++column) {
            const uint16_t pixel = source[column];
            const uint8_t red = pixel >> 11, green = (pixel >> 5) & 0x3F, blue = pixel & 0x1F;
            out[column * 3] = uint8_t(red << 3 | red >> 2);
            out[column * 3 + 1] = uint8_t(green << 2 | green >> 4);
            out[column * 3 + 2] = uint8_t(blue << 3 | blue >> 2);
        }
    }
    return rgb;
}

namespace {

std::vector<uint8_t> flippedRows(const uint8_t* rows, uint32_t width, uint32_t height) {
    const size_t rowBytes = size_t(width) * 3;
    std::vector<uint8_t> rgb(rowBytes * height);
    for (size_t row = 0; row < height; ++row)
        std::memcpy(&rgb[row * rowBytes], &rows[(height - 1 - row) * rowBytes], rowBytes);
    return rgb;
}

}  // namespace

void GlFrameReader::start(uint32_t index) {
    if (started.size() == buffers.size() || !renderer->bindFrameForReading()) return;
    const Read read{index, next, renderer->frameWidth(), renderer->frameHeight(), renderer->readsTrueColour()};
    next = (next + 1) % buffers.size();
    const size_t size = size_t(read.width) * read.height * (read.enhanced ? 3 : 2);
    if (buffers[read.buffer] == 0) glGenBuffers(1, &buffers[read.buffer]);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers[read.buffer]);
    if (sizes[read.buffer] != size) {
        glBufferData(GL_PIXEL_PACK_BUFFER, GLsizeiptr(size), nullptr, GL_STREAM_READ);
        sizes[read.buffer] = size;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, read.enhanced ? 1 : 2);
    glReadPixels(0, 0, GLsizei(read.width), GLsizei(read.height), GL_RGB,
                 read.enhanced ? GL_UNSIGNED_BYTE : GL_UNSIGNED_SHORT_5_6_5, nullptr);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    started.push_back(read);
}

std::optional<CapturedFrame> GlFrameReader::collect() {
    if (started.empty() || !renderer->bindFrameForReading()) return std::nullopt;
    const Read read = started.front();
    started.pop_front();
    glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers[read.buffer]);
    const void* pixels = glMapBufferRange(GL_PIXEL_PACK_BUFFER, 0, GLsizeiptr(sizes[read.buffer]), GL_MAP_READ_BIT);
    CapturedFrame frame{read.index, read.width, read.height, {}};
    if (pixels != nullptr)
        frame.rgb = read.enhanced ? flippedRows(static_cast<const uint8_t*>(pixels), read.width, read.height)
                                  : widenRgb565(static_cast<const uint16_t*>(pixels), read.width, read.height);
    else
        frame.rgb.assign(size_t(read.width) * read.height * 3, 0);
    glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    return frame;
}

void GlFrameReader::shutDown() {
    started.clear();
    if (std::all_of(buffers.begin(), buffers.end(), [](GLuint buffer) { return buffer == 0; })) return;
    if (renderer->bindFrameForReading()) glDeleteBuffers(GLsizei(buffers.size()), buffers.data());
    buffers.fill(0);
    sizes.fill(0);
}

}  // namespace platform
