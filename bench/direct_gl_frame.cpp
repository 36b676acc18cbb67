#include "bench/direct_gl_frame.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>

#include "bench/thread_clock.h"

namespace bench {

namespace {

constexpr int width = 640, height = 480;

// Camera-space vertices through the projection, or screen pixels; texture
// times colour, linear fog on the eye depth.
const char* const vertexSource = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 diffuse;
layout(location = 2) in vec2 texcoord;
uniform mat4 projection;
uniform bool screen;
out vec4 colour;
out vec2 uv;
out float depth;
void main() {
    if (screen) {
        gl_Position = vec4(position.x / 320.0 - 1.0, 1.0 - position.y / 240.0, position.z, 1.0);
        colour = diffuse;
    } else {
        gl_Position = projection * vec4(position, 1.0);
        colour = vec4(1.0);
    }
    gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;  // Direct3D's 0 to 1 depth, as OpenGL's -1 to 1
    depth = gl_Position.w;
    uv = texcoord;
}
)";

const char* const fragmentSource = R"(#version 330 core
in vec4 colour;
in vec2 uv;
in float depth;
uniform sampler2D image;
uniform vec2 fog;
uniform vec3 fogColour;
out vec4 fragment;
void main() {
    vec4 texel = texture(image, uv);
    float f = clamp((fog.y - depth) / (fog.y - fog.x), 0.0, 1.0);
    fragment = vec4(mix(fogColour, texel.rgb * colour.rgb, f), texel.a);
}
)";

GLuint compileProgram() {
    GLuint program = glCreateProgram();
    for (auto [stage, source] : {std::pair{GL_VERTEX_SHADER, vertexSource}, {GL_FRAGMENT_SHADER, fragmentSource}}) {
        GLuint shader = glCreateShader(stage);
        glShaderSource(shader, 1, &source, nullptr);
        glCompileShader(shader);
        glAttachShader(program, shader);
        glDeleteShader(shader);
    }
    glLinkProgram(program);
    return program;
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

EGLContext createContext(EGLDisplay display) {
    const EGLint attributes[] = {
        EGL_CONTEXT_MAJOR_VERSION,           3,       EGL_CONTEXT_MINOR_VERSION, 3, EGL_CONTEXT_OPENGL_PROFILE_MASK,
        EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
    eglBindAPI(EGL_OPENGL_API);
    return eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
}

}  // namespace

struct DirectGlFrame::State {
    const SyntheticFrame& frame;
    EGLDisplay display;
    EGLContext context;
    GLuint program = 0, vertexArray = 0, vertexBuffer = 0, indexBuffer = 0;
    GLuint framebuffer = 0, colour = 0, depth = 0;
    GLint screenLocation = -1;
    std::vector<GLuint> textures;

    State(const SyntheticFrame& frame, EGLDisplay display, EGLContext context)
        : frame(frame), display(display), context(context) {}

    void makeCurrent() const {
        if (eglGetCurrentContext() != context) eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context);
    }
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

// The projection of a 1.57 field of view, near 1, far 4200, depth 0 to 1.
void DirectGlFrame::State::createPipeline() {
    program = compileProgram();
    glUseProgram(program);
    float c = float(std::cos(0.785) / std::sin(0.785)), q = 4200.0f / 4199.0f;
    const float projection[16] = {c, 0, 0, 0, 0, c, 0, 0, 0, 0, q, 1, 0, 0, -q, 0};
    glUniformMatrix4fv(glGetUniformLocation(program, "projection"), 1, GL_FALSE, projection);
    glUniform2f(glGetUniformLocation(program, "fog"), frame.fogStart, frame.fogEnd);
    glUniform3f(glGetUniformLocation(program, "fogColour"), 0x00 / 255.0f, 0x30 / 255.0f, 0x39 / 255.0f);
    screenLocation = glGetUniformLocation(program, "screen");
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

void DirectGlFrame::State::drawVertices(const void* vertices, size_t count, bool screen, const WORD* indices) {
    size_t stride = screen ? sizeof(D3DTLVERTEX) : sizeof(SceneVertex);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(stride * count), vertices, GL_STREAM_DRAW);
    glUniform1i(screenLocation, screen);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, GLsizei(stride), nullptr);
    glEnableVertexAttribArray(2);  // tu, tv sit at byte 24 in both layouts
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, GLsizei(stride), reinterpret_cast<void*>(24));
    if (!screen) {
        glDisableVertexAttribArray(1);
        glDrawArrays(GL_TRIANGLES, 0, GLsizei(count));
        return;
    }
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, GLsizei(stride), reinterpret_cast<void*>(16));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, 6 * sizeof(WORD), indices, GL_STREAM_DRAW);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, nullptr);
}

std::unique_ptr<DirectGlFrame> DirectGlFrame::create(const SyntheticFrame& frame) {
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) return nullptr;
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) return nullptr;
    EGLContext context = createContext(display);
    if (context == EGL_NO_CONTEXT) return nullptr;
    auto state = std::make_unique<State>(frame, display, context);
    state->makeCurrent();
    state->createTarget();
    state->createPipeline();
    return std::make_unique<DirectGlFrame>(std::move(state));
}

DirectGlFrame::DirectGlFrame(std::unique_ptr<State> state) : state(std::move(state)) {}

DirectGlFrame::~DirectGlFrame() {
    state->makeCurrent();
    glDeleteTextures(GLsizei(state->textures.size()), state->textures.data());
    glDeleteFramebuffers(1, &state->framebuffer);
    glDeleteRenderbuffers(1, &state->colour);
    glDeleteRenderbuffers(1, &state->depth);
    glDeleteProgram(state->program);
    eglMakeCurrent(state->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(state->display, state->context);
}

void DirectGlFrame::draw() {
    State& s = *state;
    const SyntheticFrame& frame = s.frame;
    s.makeCurrent();
    glBindFramebuffer(GL_FRAMEBUFFER, s.framebuffer);
    glDepthMask(GL_TRUE);
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    uint64_t start = threadNanoseconds();
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
    state->makeCurrent();
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
