#include "platform/gl/gl_shader_source.h"

namespace platform {

namespace {

// Camera-space positions go through worldView and projection (D3D matrices
// are row-major for row vectors; given to GL as they are, they arrive
// transposed, which is what a column vector needs). Screen positions are
// pixels with 1/w. D3D puts pixel centres on integers, GL on halves:
// pixelOffset moves by half a pixel. The fog depth is the eye depth w. The
// diffuse colour arrives as its bytes in memory, B, G, R, A. Points are one
// pixel, which OpenGL ES leaves to the shader to say.
const char* const vertexBody = R"(
layout(location = 0) in vec4 position;
layout(location = 1) in vec4 diffuse;
layout(location = 2) in vec2 texcoord;
uniform mat4 worldView;
uniform mat4 projection;
uniform vec4 viewport;
uniform vec2 pixelOffset;
uniform vec3 ambientLight;
uniform vec3 materialAmbient;
uniform vec3 materialEmissive;
uniform float materialAlpha;
out vec4 colour;
out vec2 uv;
out float eyeDepth;

void main() {
#if HAS_DIFFUSE
    vec4 vertexColour = diffuse.bgra;
#else
    vec4 vertexColour = vec4(1.0);
#endif
#if TRANSFORMED
    float w = position.w > 0.0 ? 1.0 / position.w : 1.0;
    vec2 ndc = vec2((position.x - viewport.x) / viewport.z * 2.0 - 1.0,
                    1.0 - (position.y - viewport.y) / viewport.w * 2.0);
    gl_Position = vec4(ndc * w, position.z * w, w);
    colour = vertexColour;
#else
    gl_Position = projection * (worldView * vec4(position.xyz, 1.0));
#if LIGHTING
    vec3 ambientSource = AMBIENT_FROM_VERTEX ? vertexColour.rgb : materialAmbient;
    colour = vec4(clamp(ambientLight * ambientSource + materialEmissive, 0.0, 1.0),
                  ALPHA_FROM_VERTEX ? vertexColour.a : materialAlpha);
#else
    colour = vertexColour;
#endif
#endif
    // Direct3D's depth is 0 to 1 in clip space, OpenGL's -1 to 1: the same
    // clipping and window depth, without clip control (OpenGL 4.5).
    gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;
    eyeDepth = gl_Position.w;
    gl_Position.xy += pixelOffset * gl_Position.w;
    uv = texcoord;
    gl_PointSize = 1.0;
}
)";

const char* const fragmentBody = R"(
in vec4 colour;
in vec2 uv;
in float eyeDepth;
uniform sampler2D stageTexture;
uniform vec4 textureFactor;
uniform float alphaReference;
uniform vec3 fogColour;
uniform float fogStart;
uniform float fogEnd;
uniform float fogDensity;
out vec4 fragment;

void main() {
#if TEXTURED
    vec4 texel = texture(stageTexture, uv);
#else
    vec4 texel = vec4(1.0);
#endif
    vec3 rgb = COLOUR_RESULT;
    float a = ALPHA_RESULT;
#ifdef ALPHA_PASSES
    if (!ALPHA_PASSES) discard;
#endif
#if FOG_MODE == 3
    float f = clamp((fogEnd - eyeDepth) / (fogEnd - fogStart), 0.0, 1.0);
#elif FOG_MODE == 1
    float f = exp(-fogDensity * eyeDepth);
#elif FOG_MODE == 2
    float f = exp(-(fogDensity * eyeDepth) * (fogDensity * eyeDepth));
#else
    float f = 1.0;
#endif
    fragment = vec4(mix(fogColour, rgb, f), a);
}
)";

// A D3DTA_ argument of texture stage 0, where the current colour is the diffuse.
std::string argument(DWORD which) {
    std::string value;
    switch (which & D3DTA_SELECTMASK) {
        case D3DTA_TEXTURE: value = "texel"; break;
        case D3DTA_TFACTOR: value = "textureFactor"; break;
        case D3DTA_SPECULAR: value = "vec4(0.0)"; break;
        default: value = "colour"; break;
    }
    if (which & 0x20) value = "vec4(" + value + ".a)";        // D3DTA_ALPHAREPLICATE
    if (which & 0x10) value = "(vec4(1.0) - " + value + ")";  // D3DTA_COMPLEMENT
    return value;
}

// A D3DTOP_ operation; a disabled stage passes the diffuse colour on.
std::string operation(DWORD op, DWORD first, DWORD second) {
    std::string a = argument(first), b = argument(second);
    switch (op) {
        case D3DTOP_SELECTARG1: return a;
        case D3DTOP_SELECTARG2: return b;
        case D3DTOP_MODULATE: return "(" + a + " * " + b + ")";
        case D3DTOP_MODULATE2X: return "min(" + a + " * " + b + " * 2.0, 1.0)";
        case D3DTOP_MODULATE4X: return "min(" + a + " * " + b + " * 4.0, 1.0)";
        case D3DTOP_ADD: return "min(" + a + " + " + b + ", 1.0)";
        default: return "colour";
    }
}

// Alpha is compared on D3D's 0 to 255 scale; ALWAYS needs no test at all.
std::string alphaTest(DWORD function) {
    const char* compare = nullptr;
    switch (function) {
        case D3DCMP_NEVER: return "false";
        case D3DCMP_LESS: compare = "<"; break;
        case D3DCMP_EQUAL: compare = "=="; break;
        case D3DCMP_LESSEQUAL: compare = "<="; break;
        case D3DCMP_GREATER: compare = ">"; break;
        case D3DCMP_NOTEQUAL: compare = "!="; break;
        case D3DCMP_GREATEREQUAL: compare = ">="; break;
        default: return "";
    }
    return std::string("(floor(a * 255.0 + 0.5) ") + compare + " alphaReference)";
}

std::string define(const char* name, const std::string& value) {
    return std::string("#define ") + name + " " + value + "\n";
}

std::string define(const char* name, bool value) { return define(name, std::string(value ? "1" : "0")); }

std::string boolean(bool value) { return value ? "true" : "false"; }

}  // namespace

// OpenGL ES has no default precision for fragment shader floats.
std::string shaderPrologue(ShaderLanguage language) {
    return language == ShaderLanguage::glslEs300 ? "#version 300 es\nprecision highp float;\n" : "#version 330 core\n";
}

ShaderKey shaderKey(const DeviceState& state, const VertexLayout& layout) {
    const auto& stage = state.stageStates[0];
    auto fromVertex = [&](D3DRENDERSTATETYPE source) {
        return layout.diffuse >= 0 && state.renderStates[D3DRENDERSTATE_COLORVERTEX] &&
               state.renderStates[source] == D3DMCS_COLOR1;
    };
    ShaderKey key;
    key.transformed = layout.transformed;
    key.hasDiffuse = layout.diffuse >= 0;
    key.lighting = !layout.transformed && state.renderStates[D3DRENDERSTATE_LIGHTING];
    key.ambientFromVertex = key.lighting && fromVertex(D3DRENDERSTATE_AMBIENTMATERIALSOURCE);
    key.alphaFromVertex = key.lighting && fromVertex(D3DRENDERSTATE_DIFFUSEMATERIALSOURCE);
    key.textured = state.textures[0] != nullptr && stage[D3DTSS_COLOROP] != D3DTOP_DISABLE;
    key.colourOp = stage[D3DTSS_COLOROP];
    key.colourArgument1 = stage[D3DTSS_COLORARG1];
    key.colourArgument2 = stage[D3DTSS_COLORARG2];
    key.alphaOp = stage[D3DTSS_ALPHAOP];
    key.alphaArgument1 = stage[D3DTSS_ALPHAARG1];
    key.alphaArgument2 = stage[D3DTSS_ALPHAARG2];
    if (state.renderStates[D3DRENDERSTATE_ALPHATESTENABLE])
        key.alphaFunction = state.renderStates[D3DRENDERSTATE_ALPHAFUNC];
    if (state.renderStates[D3DRENDERSTATE_FOGENABLE]) {
        DWORD table = state.renderStates[D3DRENDERSTATE_FOGTABLEMODE];
        key.fogMode = table != D3DFOG_NONE ? table : state.renderStates[D3DRENDERSTATE_FOGVERTEXMODE];
    }
    return key;
}

std::string vertexShaderSource(const ShaderKey& key, ShaderLanguage language) {
    return shaderPrologue(language) + define("TRANSFORMED", key.transformed) + define("HAS_DIFFUSE", key.hasDiffuse) +
           define("LIGHTING", key.lighting) + define("AMBIENT_FROM_VERTEX", boolean(key.ambientFromVertex)) +
           define("ALPHA_FROM_VERTEX", boolean(key.alphaFromVertex)) + vertexBody;
}

std::string fragmentShaderSource(const ShaderKey& key, ShaderLanguage language) {
    std::string source =
        shaderPrologue(language) + define("TEXTURED", key.textured) +
        define("COLOUR_RESULT", operation(key.colourOp, key.colourArgument1, key.colourArgument2) + ".rgb") +
        define("ALPHA_RESULT", operation(key.alphaOp, key.alphaArgument1, key.alphaArgument2) + ".a") +
        define("FOG_MODE", std::to_string(key.fogMode));
    if (std::string test = alphaTest(key.alphaFunction); !test.empty()) source += define("ALPHA_PASSES", test);
    return source + fragmentBody;
}

}  // namespace platform
