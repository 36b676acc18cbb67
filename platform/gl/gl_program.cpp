#include "platform/gl/gl_program.h"

#include <cstdio>

namespace platform {

namespace {

GLuint compile(GLenum stage, const std::string& source) {
    GLuint shader = glCreateShader(stage);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        char log[2048] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "kvor: a shader does not compile: %s\n", log);
    }
    return shader;
}

}  // namespace

GLuint linkProgram(const std::string& vertexSource, const std::string& fragmentSource) {
    GLuint vertex = compile(GL_VERTEX_SHADER, vertexSource);
    GLuint fragment = compile(GL_FRAGMENT_SHADER, fragmentSource);
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    return program;
}

GlProgram::GlProgram(const ShaderKey& key, ShaderLanguage language)
    : program(linkProgram(vertexShaderSource(key, language), fragmentShaderSource(key, language))) {
    auto locate = [this](const char* name) { return glGetUniformLocation(program, name); };
    locations =
        Uniforms{locate("worldView"),    locate("projection"),      locate("viewport"),         locate("pixelOffset"),
                 locate("ambientLight"), locate("materialAmbient"), locate("materialEmissive"), locate("materialAlpha"),
                 locate("stageTexture"), locate("textureFactor"),   locate("alphaReference"),   locate("fogColour"),
                 locate("fogStart"),     locate("fogEnd"),          locate("fogDensity")};
}

GlProgram::~GlProgram() { glDeleteProgram(program); }

}  // namespace platform
