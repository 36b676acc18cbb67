#pragma once
// Frames read back through pixel buffers: a read started once a frame is
// drawn is collected after the next one is drawn, so that copying the pixels
// out overlaps drawing. Internal to the platform layer.

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gl/gl_renderer.h"
#include "platform/tool_interface.h"

namespace platform {

// rows: height rows of RGB565 pixels, the bottom row first (as GL reads
// them). The frame as 8-bit RGB triples, top row first, each channel widened
// by repeating its top bits.
std::vector<uint8_t> widenRgb565(const uint16_t* rows, uint32_t width, uint32_t height);

class GlFrameReader {
public:
    explicit GlFrameReader(std::shared_ptr<GlRenderer> renderer) : renderer(std::move(renderer)) {}
    ~GlFrameReader() { shutDown(); }
    GlFrameReader(const GlFrameReader&) = delete;
    GlFrameReader& operator=(const GlFrameReader&) = delete;

    // Starts reading the renderer's finished frame; with both buffers taken by
    // reads not yet collected, it does nothing.
    void start(uint32_t index);
    size_t pending() const { return started.size(); }
    // The oldest frame started, waiting for its pixels; nothing when none is.
    std::optional<CapturedFrame> collect();
    // Deletes the buffers while the renderer's context lives; reads not
    // collected are lost.
    void shutDown();

private:
    struct Read {
        uint32_t index;
        size_t buffer;
        uint32_t width, height;
        bool enhanced;
    };

    std::shared_ptr<GlRenderer> renderer;
    std::array<GLuint, 2> buffers{};
    std::array<size_t, 2> sizes{};
    std::deque<Read> started;
    size_t next = 0;
};

}  // namespace platform
