#pragma once
// One compiled variant of the fixed-function shaders, with the locations of
// its uniforms. Internal to the platform layer.

#include "platform/gl/gl_headers.h"
#include "platform/gl/gl_shader_source.h"

namespace platform {

// A linked program of the two stages; what does not compile is reported on
// standard error with the compiler's log.
GLuint linkProgram(const std::string& vertexSource, const std::string& fragmentSource);

class GlProgram {
public:
    GlProgram(const ShaderKey& key, ShaderLanguage language);
    ~GlProgram();
    GlProgram(const GlProgram&) = delete;
    GlProgram& operator=(const GlProgram&) = delete;

    void use() const { glUseProgram(program); }

    // Uniform locations, by the name they have in the shaders; -1 for those
    // this variant does not use.
    struct Uniforms {
        GLint worldView, projection, viewport, pixelOffset;
        GLint ambientLight, materialAmbient, materialEmissive, materialAlpha;
        GLint stageTexture, textureFactor, alphaReference;
        GLint fogColour, fogStart, fogEnd, fogDensity;
    };
    const Uniforms& uniforms() const { return locations; }

private:
    GLuint program = 0;
    Uniforms locations{};
};

}  // namespace platform
