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
#include "platform/gl/gl_draw_kinds.h"
#include "platform/gl/gl_present.h"
#include "platform/gl/gl_program.h"

namespace platform {

class GlRenderer {
public:
    explicit GlRenderer(std::shared_ptr<GlContext> context);
    ~GlRenderer();
    GlRenderer(const GlRenderer&) = delete;
    GlRenderer& operator=(const GlRenderer&) = delete;

    // Targets made from now on draw the enhanced frame (32-bit colour,
    // multisampling, linear texture filtering), or the authentic one with none.
    void enhance(std::optional<EnhancedFrame> frame) { enhancement = frame; }
    // Samples per pixel of the enhanced frame (4 until told otherwise; 0 for
    // none); an enhanced target made already is made again with the new count
    // unless it was made for it (letSamplesChange).
    void useSamples(GLsizei count);
    // The enhanced frame's samples may change as it plays (useSamples): from
    // the next target on, one is made for each number of samples, and what is
    // prepared is prepared in each.
    void letSamplesChange() { samplesMayChange = true; }
    // (Re)makes the back buffer for a width x height picture: RGB565 with a
    // 16-bit depth of exactly that size, or the enhanced frame.
    void createTarget(DWORD width, DWORD height);
    void clear(const DeviceState& state, std::span<const D3DRECT> rects, DWORD flags, D3DCOLOR colour, float z);
    void draw(const DeviceState& state, const DrawRequest& request);
    // A texture written while a scene loads: uploaded now, and drawn once
    // with no area (a driver readies a texture at its first draw), in every
    // kind of draw known when it is the first of its kind.
    void prepareTexture(const std::shared_ptr<SurfaceStore>& store);
    // The fog of state set while a scene loads: every kind of draw known is
    // drawn once with no area under it, with a texture of each kind.
    void prepareFog(const DeviceState& state);
    // The frame as 8-bit RGB triples, top row first.
    std::vector<uint8_t> readTarget();
    // Binds the finished frame (resolved when multisampled) as the read
    // framebuffer, the context current; false once shut down.
    bool bindFrameForReading();
    // Whether the frame reads back as 8-bit RGB (enhanced) rather than RGB565.
    bool readsTrueColour() const { return enhancement.has_value(); }
    // Waits until every command given so far has been carried out.
    void finish();
    // Shows the frame in the current draw framebuffer's rectangle, each pixel
    // the frame's nearest one; leaves the viewport set to the rectangle.
    void presentTo(GLint x, GLint y, GLsizei width, GLsizei height);
    // Deletes every GL object while the context lives; the renderer does nothing afterwards.
    void shutDown();

    bool alive() const { return context != nullptr; }
    DWORD targetWidth() const { return width; }
    DWORD targetHeight() const { return height; }
    // The frame read back or shown: the target's size unless enhanced.
    DWORD frameWidth() const { return output.frameWidth; }
    DWORD frameHeight() const { return output.frameHeight; }
    // Where the engine's picture lies in that frame (y up from the bottom).
    OutputRect picture() const { return output.picture; }
    GLint maximumTextureSize();

private:
    void drawInto(GLuint target, const DeviceState& state, const DrawRequest& request);
    void prepare(const DrawKind& kind, const std::shared_ptr<SurfaceStore>& texture);
    void prepareWithEveryTexture(const DrawKind& kind);
    void applyPipeline(const DeviceState& state, bool transformed);
    const GlProgram& programFor(const ShaderKey& key);
    void applyUniforms(const DeviceState& state, const GlProgram::Uniforms& uniforms);
    void streamVertices(const DrawRequest& request, const VertexLayout& layout);
    void deleteTarget();
    void createEnhancedTarget();
    bool chooseSampledTarget();
    void prepareBlits(GLuint screen, GLint x, GLint y);
    std::vector<uint8_t> readEnhancedFrame();
    std::vector<uint8_t> readFrame(GLuint source, DWORD frameWidth, DWORD frameHeight);
    // The multisampled frame resolved into frameTexture; the framebuffer that holds it.
    GLuint resolvedFrame();

    std::shared_ptr<GlContext> context;
    ShaderLanguage shaderLanguage;                             // the context's: OpenGL ES takes GLSL ES
    std::map<ShaderKey, std::unique_ptr<GlProgram>> programs;  // compiled as draws ask for them
    std::unique_ptr<GlPresentProgram> presentProgram;          // compiled at the first present
    DrawKinds drawKinds;
    TextureSamples textureSamples;
    GLuint vertexArray = 0, vertexBuffer = 0, indexBuffer = 0;
    GLuint framebuffer = 0, colourBuffer = 0, depthBuffer = 0;  // colourBuffer: multisampled only
    GLuint resolveFramebuffer = 0;                              // multisampled only
    GLuint frameTexture = 0;                                    // the single-sample frame shown
    // Enhanced only: the target of each number of samples made; the one in
    // use is also in framebuffer, colourBuffer, depthBuffer, resolveFramebuffer.
    struct SampledTarget {
        GLsizei samples;
        GLuint framebuffer, colour, depth, resolve;
    };
    std::vector<SampledTarget> sampledTargets;
    bool blitsPrepared = false;
    GLsizei samples = 4;
    bool samplesMayChange = false;
    DWORD width = 0, height = 0;
    std::optional<EnhancedFrame> enhancement;
    RenderOutput output;
};

}  // namespace platform
