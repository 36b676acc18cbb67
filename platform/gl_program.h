#pragma once
// The shader program that plays Direct3D 7's fixed-function pipeline: camera-
// space or pre-transformed vertices, lighting without lights, texture stage 0,
// alpha test and per-pixel table fog. Internal to the platform layer.

#include "platform/gl_headers.h"

namespace platform {

class GlProgram {
public:
    GlProgram();
    ~GlProgram();
    GlProgram(const GlProgram&) = delete;
    GlProgram& operator=(const GlProgram&) = delete;

    void use() const { glUseProgram(program); }

    // Uniform locations, by the name they have in the shaders.
    struct Uniforms {
        GLint transformed, worldView, projection, viewport, pixelOffset;
        GLint hasDiffuse, lighting, ambientLight, materialAmbient, materialEmissive, materialAlpha;
        GLint ambientFromVertex, alphaFromVertex;
        GLint textured, stageTexture, colourOp, colourArguments, alphaOp, alphaArguments, textureFactor;
        GLint alphaFunction, alphaReference;
        GLint fogMode, fogColour, fogStart, fogEnd, fogDensity;
    };
    const Uniforms& uniforms() const { return locations; }

private:
    GLuint program = 0;
    Uniforms locations{};
};

}  // namespace platform
