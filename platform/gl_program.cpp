#include "platform/gl_program.h"

#include <cstdio>
#include <string>

namespace platform {

namespace {

// Positions: camera space through worldView and projection (D3D matrices are
// row-major for row vectors; given to GL as they are, they arrive transposed,
// which is what a column vector needs), or screen pixels with 1/w. D3D puts
// pixel centres on integers, GL on halves: pixelOffset moves by half a pixel.
// The fog depth is the eye depth w in both cases.
const char* const vertexSource = R"(#version 330 core
layout(location = 0) in vec4 position;
layout(location = 1) in vec4 diffuse;
layout(location = 2) in vec2 texcoord;
uniform bool transformed;
uniform mat4 worldView;
uniform mat4 projection;
uniform vec4 viewport;
uniform vec2 pixelOffset;
uniform bool hasDiffuse;
uniform bool lighting;
uniform vec3 ambientLight;
uniform vec3 materialAmbient;
uniform vec3 materialEmissive;
uniform float materialAlpha;
uniform bool ambientFromVertex;
uniform bool alphaFromVertex;
out vec4 colour;
out vec2 uv;
out float eyeDepth;

vec4 screenToClip() {
    float w = position.w > 0.0 ? 1.0 / position.w : 1.0;
    vec2 ndc = vec2((position.x - viewport.x) / viewport.z * 2.0 - 1.0,
                    1.0 - (position.y - viewport.y) / viewport.w * 2.0);
    return vec4(ndc * w, position.z * w, w);
}

vec4 litColour(vec4 vertexColour) {
    vec3 ambientSource = ambientFromVertex ? vertexColour.rgb : materialAmbient;
    vec3 rgb = clamp(ambientLight * ambientSource + materialEmissive, 0.0, 1.0);
    return vec4(rgb, alphaFromVertex ? vertexColour.a : materialAlpha);
}

void main() {
    vec4 vertexColour = hasDiffuse ? diffuse : vec4(1.0);
    if (transformed) {
        gl_Position = screenToClip();
        colour = vertexColour;
    } else {
        gl_Position = projection * (worldView * vec4(position.xyz, 1.0));
        colour = lighting ? litColour(vertexColour) : vertexColour;
    }
    eyeDepth = gl_Position.w;
    gl_Position.xy += pixelOffset * gl_Position.w;
    uv = texcoord;
}
)";

// Texture stage 0 with the D3DTOP_ operations and D3DTA_ arguments the
// engine can set; a stage without a texture reads opaque white.
const char* const fragmentSource = R"(#version 330 core
in vec4 colour;
in vec2 uv;
in float eyeDepth;
uniform bool textured;
uniform sampler2D stageTexture;
uniform int colourOp;
uniform ivec2 colourArguments;
uniform int alphaOp;
uniform ivec2 alphaArguments;
uniform vec4 textureFactor;
uniform int alphaFunction;
uniform float alphaReference;
uniform int fogMode;
uniform vec3 fogColour;
uniform float fogStart;
uniform float fogEnd;
uniform float fogDensity;
out vec4 fragment;

vec4 argument(int which, vec4 texel) {
    vec4 value;
    int source = which & 15;
    if (source == 2) value = texel;
    else if (source == 3) value = textureFactor;
    else if (source == 4) value = vec4(0.0);
    else value = colour;
    if ((which & 32) != 0) value = vec4(value.a);
    if ((which & 16) != 0) value = vec4(1.0) - value;
    return value;
}

vec4 combine(int op, vec4 first, vec4 second) {
    if (op == 2) return first;
    if (op == 3) return second;
    if (op == 4) return first * second;
    if (op == 5) return min(first * second * 2.0, 1.0);
    if (op == 6) return min(first * second * 4.0, 1.0);
    if (op == 7) return min(first + second, 1.0);
    return colour;
}

bool passes(float alpha) {
    float a = floor(alpha * 255.0 + 0.5);
    if (alphaFunction == 1) return false;
    if (alphaFunction == 2) return a < alphaReference;
    if (alphaFunction == 3) return a == alphaReference;
    if (alphaFunction == 4) return a <= alphaReference;
    if (alphaFunction == 5) return a > alphaReference;
    if (alphaFunction == 6) return a != alphaReference;
    if (alphaFunction == 7) return a >= alphaReference;
    return true;
}

float fogFactor() {
    if (fogMode == 3) return clamp((fogEnd - eyeDepth) / (fogEnd - fogStart), 0.0, 1.0);
    if (fogMode == 1) return exp(-fogDensity * eyeDepth);
    if (fogMode == 2) return exp(-(fogDensity * eyeDepth) * (fogDensity * eyeDepth));
    return 1.0;
}

void main() {
    vec4 texel = textured ? texture(stageTexture, uv) : vec4(1.0);
    vec3 rgb = combine(colourOp, argument(colourArguments.x, texel), argument(colourArguments.y, texel)).rgb;
    float a = combine(alphaOp, argument(alphaArguments.x, texel), argument(alphaArguments.y, texel)).a;
    if (!passes(a)) discard;
    fragment = vec4(mix(fogColour, rgb, fogFactor()), a);
}
)";

GLuint compile(GLenum stage, const char* source) {
    GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        char log[2048] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "kvor: shader does not compile: %s\n", log);
    }
    return shader;
}

GLint locate(GLuint program, const char* name) { return glGetUniformLocation(program, name); }

}  // namespace

GlProgram::GlProgram() {
    GLuint vertex = compile(GL_VERTEX_SHADER, vertexSource);
    GLuint fragment = compile(GL_FRAGMENT_SHADER, fragmentSource);
    program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLuint p = program;
    locations = Uniforms{locate(p, "transformed"),      locate(p, "worldView"),       locate(p, "projection"),
                         locate(p, "viewport"),         locate(p, "pixelOffset"),     locate(p, "hasDiffuse"),
                         locate(p, "lighting"),         locate(p, "ambientLight"),    locate(p, "materialAmbient"),
                         locate(p, "materialEmissive"), locate(p, "materialAlpha"),   locate(p, "ambientFromVertex"),
                         locate(p, "alphaFromVertex"),  locate(p, "textured"),        locate(p, "stageTexture"),
                         locate(p, "colourOp"),         locate(p, "colourArguments"), locate(p, "alphaOp"),
                         locate(p, "alphaArguments"),   locate(p, "textureFactor"),   locate(p, "alphaFunction"),
                         locate(p, "alphaReference"),   locate(p, "fogMode"),         locate(p, "fogColour"),
                         locate(p, "fogStart"),         locate(p, "fogEnd"),          locate(p, "fogDensity")};
}

GlProgram::~GlProgram() { glDeleteProgram(program); }

}  // namespace platform
