#pragma once
// Direct3D 7 drawing on OpenGL: an RGB565 colour target with a 16-bit depth
// buffer, and the fixed-function pipeline of DeviceState played by GlProgram.
// One per OpenGL driver. Internal to the platform layer.

#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/ddraw/ddraw_backend.h"
#include "platform/ddraw/render_output.h"
#include "platform/ddraw/vertex_format.h"
#include "platform/gl/gl_context.h"
#include "platform/gl/gl_program.h"

namespace platform {

class GlRenderer {
public:
    explicit GlRenderer(std::shared_ptr<GlContext> context);
    ~GlRenderer();
    GlRenderer(const GlRenderer&) = delete;
    GlRenderer& operator=(const GlRenderer&) = delete;

    // Targets made from now on draw the enhanced frame (32-bit colour, 4x
    // multisampling, linear texture filtering), or the authentic one with none.
    void enhance(std::optional<EnhancedFrame> frame) { enhancement = frame; }
    // (Re)makes the back buffer for a width x height picture: RGB565 with a
    // 16-bit depth of exactly that size, or the enhanced frame.
    void createTarget(DWORD width, DWORD height);
    void clear(const DeviceState& state, std::span<const D3DRECT> rects, DWORD flags, D3DCOLOR colour, float z);
    void draw(const DeviceState& state, const DrawRequest& request);
    // The frame as 8-bit RGB triples, top row first.
    std::vector<uint8_t> readTarget();
    // Binds the finished frame (resolved when multisampled) as the read
    // framebuffer, the context current; false once shut down.
    bool bindFrameForReading();
    // Whether the frame reads back as 8-bit RGB (enhanced) rather than RGB565.
    bool readsTrueColour() const { return enhancement.has_value(); }
    // Waits until every command given so far has been carried out.
    void finish();
    // Copies the frame into the current draw framebuffer's rectangle.
    void presentTo(GLint x, GLint y, GLsizei width, GLsizei height);
    // Deletes every GL object while the context lives; the renderer does nothing afterwards.
    void shutDown();

    bool alive() const { return context != nullptr; }
    DWORD targetWidth() const { return width; }
    DWORD targetHeight() const { return height; }
    // The frame read back or shown: the target's size unless enhanced.
    DWORD frameWidth() const { return output.frameWidth; }
    DWORD frameHeight() const { return output.frameHeight; }
    GLint maximumTextureSize();

private:
    void applyPipeline(const DeviceState& state, bool transformed);
    const GlProgram& programFor(const ShaderKey& key);
    void applyUniforms(const DeviceState& state, const GlProgram::Uniforms& uniforms);
    void streamVertices(const DrawRequest& request, const VertexLayout& layout);
    void deleteTarget();
    void createEnhancedTarget();
    std::vector<uint8_t> readEnhancedFrame();
    // The multisampled frame resolved into resolveFramebuffer; its name.
    GLuint resolvedFrame();

    std::shared_ptr<GlContext> context;
    std::map<ShaderKey, std::unique_ptr<GlProgram>> programs;  // compiled as draws ask for them
    GLuint vertexArray = 0, vertexBuffer = 0, indexBuffer = 0;
    GLuint framebuffer = 0, colourBuffer = 0, depthBuffer = 0;
    GLuint resolveFramebuffer = 0, resolveBuffer = 0;  // enhanced only
    DWORD width = 0, height = 0;
    std::optional<EnhancedFrame> enhancement;
    RenderOutput output;
};

}  // namespace platform
