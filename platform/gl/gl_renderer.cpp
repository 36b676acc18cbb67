#include "platform/gl/gl_renderer.h"

#include <algorithm>

#include "platform/gl/gl_frame_reader.h"
#include "platform/gl/gl_pipeline.h"
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

// Drawing into colour, and depth unless it is 0; left bound.
GLuint makeFramebuffer(GLuint colour, GLuint depth = 0) {
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    if (depth != 0) glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    return framebuffer;
}

}  // namespace

GlRenderer::GlRenderer(std::shared_ptr<GlContext> glContext) : context(std::move(glContext)) {
    context->makeCurrent();
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
    context.reset();
}

void GlRenderer::deleteTarget() {
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteRenderbuffers(1, &colourBuffer);
    glDeleteRenderbuffers(1, &depthBuffer);
    glDeleteFramebuffers(1, &resolveFramebuffer);
    glDeleteRenderbuffers(1, &resolveBuffer);
    framebuffer = colourBuffer = depthBuffer = resolveFramebuffer = resolveBuffer = 0;
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
    colourBuffer = makeRenderbuffer(GL_RGB565, GLsizei(width), GLsizei(height));
    depthBuffer = makeRenderbuffer(GL_DEPTH_COMPONENT16, GLsizei(width), GLsizei(height));
    framebuffer = makeFramebuffer(colourBuffer, depthBuffer);
}

// Four samples per pixel of 32-bit colour and 24-bit depth, resolved into a
// plain frame to be read or shown; the bars beside a letter-boxed picture stay black.
void GlRenderer::createEnhancedTarget() {
    output = RenderOutput::enhanced(width, height, *enhancement);
    const GLsizei frameWidth = GLsizei(output.frameWidth), frameHeight = GLsizei(output.frameHeight);
    colourBuffer = makeRenderbuffer(GL_RGBA8, frameWidth, frameHeight, 4);
    depthBuffer = makeRenderbuffer(GL_DEPTH_COMPONENT24, frameWidth, frameHeight, 4);
    framebuffer = makeFramebuffer(colourBuffer, depthBuffer);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    resolveBuffer = makeRenderbuffer(GL_RGBA8, frameWidth, frameHeight);
    resolveFramebuffer = makeFramebuffer(resolveBuffer);
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
        glClearDepth(z);
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

void GlRenderer::draw(const DeviceState& state, const DrawRequest& request) {
    if (context == nullptr || framebuffer == 0) return;
    context->makeCurrent();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
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
    const OutputRect shown = output.map(int32_t(viewport.dwX), int32_t(viewport.dwY), int32_t(viewport.dwWidth),
                                        int32_t(viewport.dwHeight));
    glViewport(shown.x, shown.y, shown.width, shown.height);
    if (transformed)
        glDepthRange(0.0, 1.0);
    else
        glDepthRange(viewport.dvMinZ, viewport.dvMaxZ);
    applyDepthState(state);
    applyBlendState(state);
    applyCullState(state);
}

const GlProgram& GlRenderer::programFor(const ShaderKey& key) {
    std::unique_ptr<GlProgram>& program = programs[key];
    if (program == nullptr) program = std::make_unique<GlProgram>(key);
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
// lies in memory as B, G, R, A, which GL reads as the BGRA size.
void GlRenderer::streamVertices(const DrawRequest& request, const VertexLayout& layout) {
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(layout.stride) * request.vertexCount, request.vertices, GL_STREAM_DRAW);
    setAttribute(0, layout.transformed ? 4 : 3, GL_FLOAT, false, layout, 0);
    setAttribute(1, GL_BGRA, GL_UNSIGNED_BYTE, true, layout, layout.diffuse);
    setAttribute(2, 2, GL_FLOAT, false, layout, layout.texture);
    if (request.indices == nullptr) return;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(sizeof(WORD)) * request.indexCount, request.indices,
                 GL_STREAM_DRAW);
}

// GL rows run bottom-up.
std::vector<uint8_t> GlRenderer::readTarget() {
    if (enhancement && context != nullptr) return readEnhancedFrame();
    if (context == nullptr) return std::vector<uint8_t>(size_t(width) * height * 3);
    context->makeCurrent();
    std::vector<uint16_t> pixels(size_t(width) * height);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 2);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, pixels.data());
    return widenRgb565(pixels.data(), width, height);
}

std::vector<uint8_t> GlRenderer::readEnhancedFrame() {
    context->makeCurrent();
    const size_t rowBytes = size_t(output.frameWidth) * 3;
    std::vector<uint8_t> upsideDown(rowBytes * output.frameHeight), rgb(upsideDown.size());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, resolvedFrame());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, GLsizei(output.frameWidth), GLsizei(output.frameHeight), GL_RGB, GL_UNSIGNED_BYTE,
                 upsideDown.data());
    for (size_t row = 0; row < output.frameHeight; ++row)
        std::copy_n(&upsideDown[(output.frameHeight - 1 - row) * rowBytes], rowBytes, &rgb[row * rowBytes]);
    return rgb;
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
    if (context == nullptr) return;
    context->makeCurrent();
    GLint drawn = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawn);
    const GLuint frame = resolvedFrame();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, GLuint(drawn));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, frame);
    glBlitFramebuffer(0, 0, GLint(output.frameWidth), GLint(output.frameHeight), x, y, x + targetWidthOnScreen,
                      y + targetHeightOnScreen, GL_COLOR_BUFFER_BIT, GL_LINEAR);
}

}  // namespace platform
