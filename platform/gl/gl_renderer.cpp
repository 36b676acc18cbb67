#include "platform/gl/gl_renderer.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "platform/gl/gl_pipeline.h"
#include "platform/gl/gl_present.h"
#include "platform/gl/gl_textures.h"

namespace platform {

namespace {

GLenum primitiveOf(D3DPRIMITIVETYPE type) {
    switch (type) {
        case D3DPT_POINTLIST: return GL_POINTS;
        case D3DPT_LINELIST: return GL_LINES;
        case D3DPT_LINESTRIP: return GL_LINE_STRIP;
        case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
        case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
        default: return GL_TRIANGLES;
    }
}

// Row-major D3D product: a row vector goes through a, then b.
D3DMATRIX multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
    const float* x = &a._11;
    const float* y = &b._11;
    D3DMATRIX product{};
    float* out = &product._11;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            for (int k = 0; k < 4; ++k) out[row * 4 + column] += x[row * 4 + k] * y[k * 4 + column];
    return product;
}

void setAttribute(GLuint index, GLint size, GLenum type, bool normalized, const VertexLayout& layout, int offset) {
    if (offset < 0) {
        glDisableVertexAttribArray(index);
        return;
    }
    glEnableVertexAttribArray(index);
    glVertexAttribPointer(index, size, type, normalized ? GL_TRUE : GL_FALSE, layout.stride,
                          reinterpret_cast<const void*>(static_cast<uintptr_t>(offset)));
}

// Multisampled when samples is above 0.
GLuint makeRenderbuffer(GLenum format, GLsizei width, GLsizei height, GLsizei samples = 0) {
    GLuint buffer = 0;
    glGenRenderbuffers(1, &buffer);
    glBindRenderbuffer(GL_RENDERBUFFER, buffer);
    if (samples > 0)
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, format, width, height);
    else
        glRenderbufferStorage(GL_RENDERBUFFER, format, width, height);
    return buffer;
}

// A frame drawn into and then shown: sampled texel for texel, never repeated.
GLuint makeFrameTexture(GLenum format, GLenum layout, GLenum type, GLsizei width, GLsizei height) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), width, height, 0, layout, type, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return texture;
}

// Drawing into a colour renderbuffer or texture, and depth unless it is 0; left bound.
GLuint makeFramebuffer(GLuint colourRenderbuffer, GLuint colourTexture, GLuint depth = 0) {
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    if (colourTexture != 0)
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colourTexture, 0);
    else
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourRenderbuffer);
    if (depth != 0) glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    return framebuffer;
}

// The numbers of samples per pixel the enhanced frame may be given: the
// display driver steps through them as frames come late or easily.
constexpr GLsizei enhancedSampleCounts[] = {4, 2, 0};

}  // namespace

GlRenderer::GlRenderer(std::shared_ptr<GlContext> glContext) : context(std::move(glContext)) {
    context->makeCurrent();
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const bool embedded = version != nullptr && std::string_view(version).starts_with("OpenGL ES");
    shaderLanguage = embedded ? ShaderLanguage::glslEs300 : ShaderLanguage::glsl330;
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &vertexBuffer);
    glGenBuffers(1, &indexBuffer);
}

GlRenderer::~GlRenderer() { shutDown(); }

void GlRenderer::shutDown() {
    if (context == nullptr) return;
    context->makeCurrent();
    deleteTarget();
    glDeleteBuffers(1, &vertexBuffer);
    glDeleteBuffers(1, &indexBuffer);
    glDeleteVertexArrays(1, &vertexArray);
    programs.clear();
    presentProgram.reset();
    context.reset();
}

void GlRenderer::deleteTarget() {
    if (sampledTargets.empty()) {
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteRenderbuffers(1, &depthBuffer);
    }
    for (const SampledTarget& target : sampledTargets) {
        glDeleteFramebuffers(1, &target.framebuffer);
        glDeleteRenderbuffers(1, &target.colour);
        glDeleteRenderbuffers(1, &target.depth);
        glDeleteFramebuffers(1, &target.resolve);
    }
    sampledTargets.clear();
    blitsPrepared = false;
    glDeleteTextures(1, &frameTexture);
    framebuffer = colourBuffer = depthBuffer = resolveFramebuffer = frameTexture = 0;
}

void GlRenderer::createTarget(DWORD targetWidth, DWORD targetHeight) {
    context->makeCurrent();
    deleteTarget();
    width = targetWidth;
    height = targetHeight;
    if (enhancement) {
        createEnhancedTarget();
        return;
    }
    output = RenderOutput::authentic(width, height);
    frameTexture = makeFrameTexture(GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, GLsizei(width), GLsizei(height));
    depthBuffer = makeRenderbuffer(GL_DEPTH_COMPONENT16, GLsizei(width), GLsizei(height));
    framebuffer = makeFramebuffer(0, frameTexture, depthBuffer);
}

// The samples asked for per pixel of 32-bit colour and 24-bit depth, resolved
// into a plain frame to be read or shown (or drawn there directly with none);
// the bars beside a letter-boxed picture stay black. Where the count may
// change, a target for each count is made now: a change is then a choice, not
// buffers made and deleted in a frame, and what is prepared is drawn in each.
void GlRenderer::createEnhancedTarget() {
    output = RenderOutput::enhanced(width, height, *enhancement);
    const GLsizei frameWidth = GLsizei(output.frameWidth), frameHeight = GLsizei(output.frameHeight);
    frameTexture = makeFrameTexture(GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, frameWidth, frameHeight);
    std::vector<GLsizei> counts{samples};
    if (samplesMayChange)
        std::copy_if(std::begin(enhancedSampleCounts), std::end(enhancedSampleCounts), std::back_inserter(counts),
                     [this](GLsizei count) { return count != samples; });
    for (GLsizei count : counts) {
        SampledTarget target{count, 0, 0, 0, 0};
        if (count > 0) {
            target.colour = makeRenderbuffer(GL_RGBA8, frameWidth, frameHeight, count);
            target.resolve = makeFramebuffer(0, frameTexture);
        }
        target.depth = makeRenderbuffer(GL_DEPTH_COMPONENT24, frameWidth, frameHeight, count);
        target.framebuffer = makeFramebuffer(target.colour, count > 0 ? 0 : frameTexture, target.depth);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        sampledTargets.push_back(target);
    }
    chooseSampledTarget();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

// False when no target was made for the count asked for.
bool GlRenderer::chooseSampledTarget() {
    for (const SampledTarget& target : sampledTargets) {
        if (target.samples != samples) continue;
        framebuffer = target.framebuffer;
        colourBuffer = target.colour;
        depthBuffer = target.depth;
        resolveFramebuffer = target.resolve;
        return true;
    }
    return false;
}

void GlRenderer::useSamples(GLsizei count) {
    if (count == samples) return;
    samples = count;
    if (!enhancement || framebuffer == 0) return;
    context->makeCurrent();
    if (!chooseSampledTarget()) createTarget(width, height);
}

GLuint GlRenderer::resolvedFrame() {
    if (resolveFramebuffer == 0) return framebuffer;
    const GLint frameWidth = GLint(output.frameWidth), frameHeight = GLint(output.frameHeight);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveFramebuffer);
    glBlitFramebuffer(0, 0, frameWidth, frameHeight, 0, 0, frameWidth, frameHeight, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    return resolveFramebuffer;
}

GLint GlRenderer::maximumTextureSize() {
    context->makeCurrent();
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size;
}

// Rectangles have y down from the top of the target, GL scissors y up.
void GlRenderer::clear(const DeviceState& state, std::span<const D3DRECT> rects, DWORD flags, D3DCOLOR colour,
                       float z) {
    if (context == nullptr) return;
    context->makeCurrent();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        GLfloat channels[4];
        unpackColour(colour, channels);
        glClearColor(channels[0], channels[1], channels[2], channels[3]);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if ((flags & D3DCLEAR_ZBUFFER) && state.depthBuffer != nullptr) {
        glDepthMask(GL_TRUE);
        glClearDepthf(z);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    glEnable(GL_SCISSOR_TEST);
    for (const D3DRECT& rect : rects) {
        const OutputRect scissor = output.map(rect.x1, rect.y1, rect.x2 - rect.x1, rect.y2 - rect.y1);
        glScissor(scissor.x, scissor.y, scissor.width, scissor.height);
        glClear(mask);
    }
    glDisable(GL_SCISSOR_TEST);
}

// A kind of draw not foreseen costs its frame the code for every kind of
// texture at once, so that no later frame pays for it with another texture.
void GlRenderer::draw(const DeviceState& state, const DrawRequest& request) {
    if (context == nullptr || framebuffer == 0) return;
    drawInto(framebuffer, state, request);
    if (drawKinds.learn(state, request.vertexFormat)) prepareWithEveryTexture(drawKinds.all().back());
}

void GlRenderer::prepareTexture(const std::shared_ptr<SurfaceStore>& store) {
    if (context == nullptr) return;
    context->makeCurrent();
    uploadTexture(*store, context);
    if (framebuffer == 0) return;
    const bool firstOfItsKind = textureSamples.learn(store);
    for (const DrawKind& kind : drawKinds.all()) {
        if (kind.state.textures[0] == nullptr) continue;
        prepare(kind, store);
        if (!firstOfItsKind) return;
    }
}

void GlRenderer::prepareFog(const DeviceState& state) {
    if (context == nullptr || framebuffer == 0) return;
    for (const DrawKind& kind : drawKinds.learnFog(state)) prepareWithEveryTexture(kind);
}

void GlRenderer::prepareWithEveryTexture(const DrawKind& kind) {
    if (kind.state.textures[0] == nullptr) {
        prepare(kind, nullptr);
        return;
    }
    for (const std::shared_ptr<SurfaceStore>& texture : textureSamples.alive()) prepare(kind, texture);
}

// Three vertices at one point: a triangle with no area, nothing drawn, but
// the driver makes its code for the draw's states.
void GlRenderer::prepare(const DrawKind& kind, const std::shared_ptr<SurfaceStore>& texture) {
    DeviceState state = kind.state;
    state.textures[0] = texture;
    const std::vector<uint8_t> vertices(size_t(vertexLayout(kind.vertexFormat).stride) * 3);
    const DrawRequest request{D3DPT_TRIANGLELIST, kind.vertexFormat, vertices.data(), 3, nullptr, 0};
    for (const SampledTarget& target : sampledTargets)
        if (target.framebuffer != framebuffer) drawInto(target.framebuffer, state, request);
    drawInto(framebuffer, state, request);
}

void GlRenderer::drawInto(GLuint target, const DeviceState& state, const DrawRequest& request) {
    context->makeCurrent();
    glBindFramebuffer(GL_FRAMEBUFFER, target);
    VertexLayout layout = vertexLayout(request.vertexFormat);
    ShaderKey key = shaderKey(state, layout);
    applyPipeline(state, layout.transformed);
    const GlProgram& program = programFor(key);
    program.use();
    applyUniforms(state, program.uniforms());
    if (key.textured) bindTexture(*state.textures[0], state.stageStates[0], context, enhancement.has_value());
    streamVertices(request, layout);
    GLenum mode = primitiveOf(request.type);
    if (request.indices == nullptr)
        glDrawArrays(mode, 0, GLsizei(request.vertexCount));
    else
        glDrawElements(mode, GLsizei(request.indexCount), GL_UNSIGNED_SHORT, nullptr);
}

// The viewport's y counts down from the top; pre-transformed vertices carry
// their own depth, so only camera-space ones go through its depth range.
void GlRenderer::applyPipeline(const DeviceState& state, bool transformed) {
    const D3DVIEWPORT7& viewport = state.viewport;
    const OutputRect shown =
        output.map(int32_t(viewport.dwX), int32_t(viewport.dwY), int32_t(viewport.dwWidth), int32_t(viewport.dwHeight));
    glViewport(shown.x, shown.y, shown.width, shown.height);
    if (transformed)
        glDepthRangef(0.0f, 1.0f);
    else
        glDepthRangef(viewport.dvMinZ, viewport.dvMaxZ);
    applyDepthState(state);
    applyBlendState(state);
    applyCullState(state);
}

const GlProgram& GlRenderer::programFor(const ShaderKey& key) {
    std::unique_ptr<GlProgram>& program = programs[key];
    if (program == nullptr) program = std::make_unique<GlProgram>(key, shaderLanguage);
    return *program;
}

void GlRenderer::applyUniforms(const DeviceState& state, const GlProgram::Uniforms& u) {
    const D3DVIEWPORT7& viewport = state.viewport;
    D3DMATRIX worldView = multiply(state.world, state.view);
    glUniformMatrix4fv(u.worldView, 1, GL_FALSE, &worldView._11);
    glUniformMatrix4fv(u.projection, 1, GL_FALSE, &state.projection._11);
    glUniform4f(u.viewport, GLfloat(viewport.dwX), GLfloat(viewport.dwY), GLfloat(viewport.dwWidth),
                GLfloat(viewport.dwHeight));
    glUniform2f(u.pixelOffset, 1.0f / viewport.dwWidth, -1.0f / viewport.dwHeight);
    GLfloat colour[4];
    unpackColour(state.renderStates[D3DRENDERSTATE_AMBIENT], colour);
    glUniform3fv(u.ambientLight, 1, colour);
    glUniform3fv(u.materialAmbient, 1, &state.material.ambient.r);
    glUniform3fv(u.materialEmissive, 1, &state.material.emissive.r);
    glUniform1f(u.materialAlpha, state.material.diffuse.a);
    glUniform1i(u.stageTexture, 0);
    unpackColour(state.renderStates[D3DRENDERSTATE_TEXTUREFACTOR], colour);
    glUniform4fv(u.textureFactor, 1, colour);
    glUniform1f(u.alphaReference, GLfloat(state.renderStates[D3DRENDERSTATE_ALPHAREF] & 0xFF));
    unpackColour(state.renderStates[D3DRENDERSTATE_FOGCOLOR], colour);
    glUniform3fv(u.fogColour, 1, colour);
    glUniform1f(u.fogStart, state.renderStateFloat(D3DRENDERSTATE_FOGSTART));
    glUniform1f(u.fogEnd, state.renderStateFloat(D3DRENDERSTATE_FOGEND));
    glUniform1f(u.fogDensity, state.renderStateFloat(D3DRENDERSTATE_FOGDENSITY));
}

// Positions are three floats, or four with rhw; the diffuse DWORD 0xAARRGGBB
// lies in memory as B, G, R, A: four bytes the vertex shader swaps back.
void GlRenderer::streamVertices(const DrawRequest& request, const VertexLayout& layout) {
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(layout.stride) * request.vertexCount, request.vertices, GL_STREAM_DRAW);
    setAttribute(0, layout.transformed ? 4 : 3, GL_FLOAT, false, layout, 0);
    setAttribute(1, 4, GL_UNSIGNED_BYTE, true, layout, layout.diffuse);
    setAttribute(2, 2, GL_FLOAT, false, layout, layout.texture);
    if (request.indices == nullptr) return;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(sizeof(WORD)) * request.indexCount, request.indices,
                 GL_STREAM_DRAW);
}

// GL rows run bottom-up. The RGB565 target is read as 8-bit RGBA, the one
// layout every GL reads, and each channel taken back to its 5 or 6 bits
// (rounding undoes any widening) and widened again by repeating its top bits.
std::vector<uint8_t> GlRenderer::readTarget() {
    if (enhancement && context != nullptr) return readEnhancedFrame();
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    if (context == nullptr) return rgb;
    const std::vector<uint8_t> rgba = readFrame(framebuffer, width, height);
    auto widened = [](uint8_t value, unsigned bits) {
        const unsigned top = (1u << bits) - 1, level = (value * top + 127) / 255;
        return uint8_t(level << (8 - bits) | level >> (2 * bits - 8));
    };
    for (size_t pixel = 0; pixel < size_t(width) * height; ++pixel) {
        rgb[pixel * 3] = widened(rgba[pixel * 4], 5);
        rgb[pixel * 3 + 1] = widened(rgba[pixel * 4 + 1], 6);
        rgb[pixel * 3 + 2] = widened(rgba[pixel * 4 + 2], 5);
    }
    return rgb;
}

std::vector<uint8_t> GlRenderer::readEnhancedFrame() {
    context->makeCurrent();
    const std::vector<uint8_t> rgba = readFrame(resolvedFrame(), output.frameWidth, output.frameHeight);
    std::vector<uint8_t> rgb(rgba.size() / 4 * 3);
    for (size_t pixel = 0; pixel < rgba.size() / 4; ++pixel) std::copy_n(&rgba[pixel * 4], 3, &rgb[pixel * 3]);
    return rgb;
}

// The framebuffer's colour as 8-bit RGBA, top row first.
std::vector<uint8_t> GlRenderer::readFrame(GLuint source, DWORD frameWidth, DWORD frameHeight) {
    context->makeCurrent();
    const size_t rowBytes = size_t(frameWidth) * 4;
    std::vector<uint8_t> upsideDown(rowBytes * frameHeight), rgba(upsideDown.size());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, source);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, GLsizei(frameWidth), GLsizei(frameHeight), GL_RGBA, GL_UNSIGNED_BYTE, upsideDown.data());
    for (size_t row = 0; row < frameHeight; ++row)
        std::copy_n(&upsideDown[(frameHeight - 1 - row) * rowBytes], rowBytes, &rgba[row * rowBytes]);
    return rgba;
}

bool GlRenderer::bindFrameForReading() {
    if (context == nullptr) return false;
    context->makeCurrent();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, enhancement ? resolvedFrame() : framebuffer);
    return true;
}

void GlRenderer::finish() {
    if (context == nullptr) return;
    context->makeCurrent();
    glFinish();
}

void GlRenderer::presentTo(GLint x, GLint y, GLsizei targetWidthOnScreen, GLsizei targetHeightOnScreen) {
    if (context == nullptr || frameTexture == 0) return;
    context->makeCurrent();
    GLint drawn = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawn);
    if (!blitsPrepared) prepareBlits(GLuint(drawn), x, y);
    const GLint frameWidth = GLint(output.frameWidth), frameHeight = GLint(output.frameHeight);
    // Pixel for pixel a blit is a plain copy, cheaper than any drawing, and
    // resolves the samples straight onto the screen.
    if (targetWidthOnScreen == frameWidth && targetHeightOnScreen == frameHeight) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
        glBlitFramebuffer(0, 0, frameWidth, frameHeight, x, y, x + frameWidth, y + frameHeight, GL_COLOR_BUFFER_BIT,
                          GL_NEAREST);
        return;
    }
    resolvedFrame();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, GLuint(drawn));
    glViewport(x, y, targetWidthOnScreen, targetHeightOnScreen);
    if (presentProgram == nullptr) presentProgram = std::make_unique<GlPresentProgram>(shaderLanguage);
    glBindVertexArray(vertexArray);
    presentProgram->draw(frameTexture);
}

// A software rasteriser makes its code for a blit at the first one between
// two kinds of buffer: a change of samples made it in the frame after the
// change, late. With the first present, a pixel is blitted from each target
// not in use to the screen and into the frame it resolves to; the frame's own
// blit covers that pixel, and the target in use draws its frame anew. Where
// the target in use draws into that frame itself, the frame is left alone.
void GlRenderer::prepareBlits(GLuint screen, GLint x, GLint y) {
    for (const SampledTarget& target : sampledTargets) {
        if (target.framebuffer == framebuffer) continue;
        glBindFramebuffer(GL_READ_FRAMEBUFFER, target.framebuffer);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, screen);
        glBlitFramebuffer(0, 0, 1, 1, x, y, x + 1, y + 1, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        if (target.resolve == 0 || resolveFramebuffer == 0) continue;
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target.resolve);
        glBlitFramebuffer(0, 0, 1, 1, 0, 0, 1, 1, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    }
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, screen);
    blitsPrepared = true;
}

}  // namespace platform
