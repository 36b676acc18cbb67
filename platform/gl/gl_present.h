#pragma once
// Shows a frame's colour texture over the current draw framebuffer's viewport:
// one quad, every screen pixel taking the frame's texel under its centre. On a
// software rasteriser this costs about half of a bilinear scaling blit, and the
// picture keeps its pixels' hard edges. Internal to the platform layer.

#include "platform/gl/gl_headers.h"
#include "platform/gl/gl_shader_source.h"

namespace platform {

class GlPresentProgram {
public:
    explicit GlPresentProgram(ShaderLanguage language);
    ~GlPresentProgram();
    GlPresentProgram(const GlPresentProgram&) = delete;
    GlPresentProgram& operator=(const GlPresentProgram&) = delete;

    // With a vertex array bound (the core profile draws nothing without one).
    void draw(GLuint texture) const;

private:
    GLuint program = 0;
    GLint frameLocation = -1;
};

}  // namespace platform
