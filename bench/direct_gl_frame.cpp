#include "bench/direct_gl_frame.h"

#include <algorithm>

#include "bench/thread_clock.h"
#include "platform/desktop/egl_context.h"
#include "platform/gl/gl_headers.h"
#include "platform/gl/gl_pipeline.h"
#include "platform/gl/gl_program.h"
#include "render/renderer.h"

namespace bench {

namespace {

constexpr int width = 640, height = 480;

// Stage 0 as the device leaves it: the texture times the diffuse colour, the
// texture's alpha.
platform::ShaderKey texturedKey() {
    platform::ShaderKey key;
    key.textured = true;
    key.colourOp = D3DTOP_MODULATE;
    key.colourArgument1 = D3DTA_TEXTURE;
    key.colourArgument2 = D3DTA_CURRENT;
    key.alphaOp = D3DTOP_SELECTARG1;
    key.alphaArgument1 = D3DTA_TEXTURE;
    key.alphaArgument2 = D3DTA_CURRENT;
    return key;
}

// Camera-space vertices without a colour, lit white by the white ambient on
// the white ambient material, in linear table fog.
platform::ShaderKey sceneKey() {
    platform::ShaderKey key = texturedKey();
    key.lighting = true;
    key.fogMode = D3DFOG_LINEAR;
    return key;
}

// Screen pixels with their own colour. The layer keeps fog on for them, but at
// their eye depth of 1 it changes nothing, so this variant goes without.
platform::ShaderKey overlayKey() {
    platform::ShaderKey key = texturedKey();
    key.transformed = true;
    key.hasDiffuse = true;
    return key;
}

// The projection a scene without a camera gets: a 1.57 field of view, near 1,
// far 4200. Built by the renderer itself, since a last-bit difference already
// moves texels on the far floor.
D3DMATRIX sceneProjection() {
    D3DMATRIX projection{};
    Renderer::buildProjectionMatrix(projection, 1.57f, 1.0f, 1.0f, 4200.0f);
    return projection;
}

// What the layer gives every draw of the frame: the device's identity world
// and view, its viewport, white ambient light and material, the scene's fog.
void setUniforms(const platform::GlProgram& program, const SyntheticFrame& frame) {
    const platform::GlProgram::Uniforms& u = program.uniforms();
    program.use();
    const D3DMATRIX identity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, projection = sceneProjection();
    glUniformMatrix4fv(u.worldView, 1, GL_FALSE, &identity._11);
    glUniformMatrix4fv(u.projection, 1, GL_FALSE, &projection._11);
    glUniform4f(u.viewport, 0, 0, width, height);
    glUniform2f(u.pixelOffset, 1.0f / width, -1.0f / height);
    glUniform3f(u.ambientLight, 1, 1, 1);
    glUniform3f(u.materialAmbient, 1, 1, 1);
    glUniform3f(u.materialEmissive, 0, 0, 0);
    glUniform1f(u.materialAlpha, 0);
    glUniform1i(u.stageTexture, 0);
    glUniform4f(u.textureFactor, 1, 1, 1, 1);
    glUniform1f(u.alphaReference, 0);
    GLfloat fogColour[4];
    platform::unpackColour(frame.fogColour, fogColour);
    glUniform3fv(u.fogColour, 1, fogColour);
    glUniform1f(u.fogStart, frame.fogStart);
    glUniform1f(u.fogEnd, frame.fogEnd);
    glUniform1f(u.fogDensity, 0);
}

GLuint upload(const Texels& texels) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    if (texels.alpha)
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA4, texels.width, texels.height, 0, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV,
                     texels.pixels.data());
    else
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB565, texels.width, texels.height, 0, GL_RGB, GL_UNSIGNED_SHORT_5_6_5,
                     texels.pixels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    return name;
}

}  // namespace

struct DirectGlFrame::State {
    const SyntheticFrame& frame;
    // Before the programs, so it outlives them: they are deleted in it.
    std::shared_ptr<platform::GlContext> context;
    std::unique_ptr<platform::GlProgram> sceneProgram, overlayProgram;
    GLuint vertexArray = 0, vertexBuffer = 0, indexBuffer = 0;
    GLuint framebuffer = 0, colour = 0, depth = 0;
    std::vector<GLuint> textures;

    State(const SyntheticFrame& frame, std::shared_ptr<platform::GlContext> context)
        : frame(frame), context(std::move(context)) {}

    void createTarget();
    void createPipeline();
    void drawVertices(const void* vertices, size_t count, bool screen, const WORD* indices);
};

void DirectGlFrame::State::createTarget() {
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGB565, width, height);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
}

void DirectGlFrame::State::createPipeline() {
    sceneProgram = std::make_unique<platform::GlProgram>(sceneKey(), platform::ShaderLanguage::glsl330);
    overlayProgram = std::make_unique<platform::GlProgram>(overlayKey(), platform::ShaderLanguage::glsl330);
    setUniforms(*sceneProgram, frame);
    setUniforms(*overlayProgram, frame);
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(1, &vertexBuffer);
    glGenBuffers(1, &indexBuffer);
    glViewport(0, 0, width, height);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    for (const Texels& texels : frame.textures) textures.push_back(upload(texels));
}

// Screen vertices carry rhw as a fourth coordinate and a BGRA diffuse.
void DirectGlFrame::State::drawVertices(const void* vertices, size_t count, bool screen, const WORD* indices) {
    size_t stride = screen ? sizeof(D3DTLVERTEX) : sizeof(SceneVertex);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(stride * count), vertices, GL_STREAM_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, screen ? 4 : 3, GL_FLOAT, GL_FALSE, GLsizei(stride), nullptr);
    glEnableVertexAttribArray(2);  // tu, tv sit at byte 24 in both layouts
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, GLsizei(stride), reinterpret_cast<void*>(24));
    if (!screen) {
        glDisableVertexAttribArray(1);
        glDrawArrays(GL_TRIANGLES, 0, GLsizei(count));
        return;
    }
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 4, GL_UNSIGNED_BYTE, GL_TRUE, GLsizei(stride), reinterpret_cast<void*>(16));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, 6 * sizeof(WORD), indices, GL_STREAM_DRAW);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, nullptr);
}

std::unique_ptr<DirectGlFrame> DirectGlFrame::create(const SyntheticFrame& frame) {
    std::shared_ptr<platform::GlContext> context = platform::makeSurfacelessContext();
    if (context == nullptr) return nullptr;
    auto state = std::make_unique<State>(frame, std::move(context));
    state->context->makeCurrent();
    state->createTarget();
    state->createPipeline();
    return std::make_unique<DirectGlFrame>(std::move(state));
}

DirectGlFrame::DirectGlFrame(std::unique_ptr<State> state) : state(std::move(state)) {}

DirectGlFrame::~DirectGlFrame() {
    state->context->makeCurrent();
    glDeleteTextures(GLsizei(state->textures.size()), state->textures.data());
    glDeleteFramebuffers(1, &state->framebuffer);
    glDeleteRenderbuffers(1, &state->colour);
    glDeleteRenderbuffers(1, &state->depth);
    glDeleteBuffers(1, &state->vertexBuffer);
    glDeleteBuffers(1, &state->indexBuffer);
    glDeleteVertexArrays(1, &state->vertexArray);
}

void DirectGlFrame::draw() {
    State& s = *state;
    const SyntheticFrame& frame = s.frame;
    s.context->makeCurrent();
    glBindFramebuffer(GL_FRAMEBUFFER, s.framebuffer);
    glDepthMask(GL_TRUE);
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    uint64_t start = threadNanoseconds();
    s.sceneProgram->use();
    glEnable(GL_CULL_FACE);
    for (const Batch& batch : frame.opaque) {
        glBindTexture(GL_TEXTURE_2D, s.textures[batch.texture]);
        s.drawVertices(batch.vertices.data(), batch.vertices.size(), false, nullptr);
    }
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_CULL_FACE);
    for (const Batch& batch : frame.transparent) {
        glBindTexture(GL_TEXTURE_2D, s.textures[batch.texture]);
        s.drawVertices(batch.vertices.data(), batch.vertices.size(), false, nullptr);
    }
    s.overlayProgram->use();
    glBlendFunc(GL_ONE, GL_ONE);
    for (size_t index = 0; index < frame.overlays.size(); ++index) {
        glBindTexture(GL_TEXTURE_2D, s.textures[frame.overlayTextures[index]]);
        s.drawVertices(frame.overlays[index].data(), 4, true, frame.overlayIndices.data());
    }
    glDisable(GL_BLEND);
    drawNanoseconds += threadNanoseconds() - start;
    glFinish();
}

std::vector<uint8_t> DirectGlFrame::read() {
    state->context->makeCurrent();
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, state->framebuffer);
    std::vector<uint8_t> bottomUp(rgb.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    for (int row = 0; row < height; ++row)
        std::copy_n(&bottomUp[size_t(height - 1 - row) * width * 3], width * 3, &rgb[size_t(row) * width * 3]);
    return rgb;
}

}  // namespace bench
