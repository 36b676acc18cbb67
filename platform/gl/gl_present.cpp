#include "platform/gl/gl_present.h"

#include "platform/gl/gl_program.h"

namespace platform {

namespace {

// The four corners from the vertex index alone: no vertex buffer to keep.
const char* const vertexSource = R"(out vec2 uv;
void main() {
    vec2 corner = vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1));
    uv = corner;
    gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
}
)";

const char* const fragmentSource = R"(uniform sampler2D frame;
in vec2 uv;
out vec4 shown;
void main() {
    shown = vec4(texture(frame, uv).rgb, 1.0);
}
)";

}  // namespace

GlPresentProgram::GlPresentProgram(ShaderLanguage language)
    : program(linkProgram(shaderPrologue(language) + vertexSource, shaderPrologue(language) + fragmentSource)) {
    frameLocation = glGetUniformLocation(program, "frame");
}

GlPresentProgram::~GlPresentProgram() { glDeleteProgram(program); }

// Whatever the last draw of the frame left on: no test, blend or cull may touch the screen.
void GlPresentProgram::draw(GLuint texture) const {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_SCISSOR_TEST);
    glUseProgram(program);
    glUniform1i(frameLocation, 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

}  // namespace platform
