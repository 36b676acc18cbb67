#pragma once
// The shaders that play Direct3D 7's fixed-function pipeline, written for one
// combination of the states that change the code: a draw pays only for what
// its states ask for. Internal to the platform layer.

#include <string>
#include <tuple>

#include "platform/ddraw/ddraw_backend.h"
#include "platform/ddraw/vertex_format.h"

namespace platform {

struct ShaderKey {
    bool transformed = false;  // screen pixels with 1/w
    bool hasDiffuse = false;
    bool lighting = false;
    bool ambientFromVertex = false;
    bool alphaFromVertex = false;
    bool textured = false;
    DWORD colourOp = 0, colourArgument1 = 0, colourArgument2 = 0;
    DWORD alphaOp = 0, alphaArgument1 = 0, alphaArgument2 = 0;
    DWORD alphaFunction = D3DCMP_ALWAYS;
    DWORD fogMode = D3DFOG_NONE;

    auto tied() const {
        return std::tie(transformed, hasDiffuse, lighting, ambientFromVertex, alphaFromVertex, textured, colourOp,
                        colourArgument1, colourArgument2, alphaOp, alphaArgument1, alphaArgument2, alphaFunction,
                        fogMode);
    }
    bool operator<(const ShaderKey& other) const { return tied() < other.tied(); }
    bool operator==(const ShaderKey& other) const { return tied() == other.tied(); }
};

// The language the shaders are compiled in: one source for both, only its
// first lines (version, default precision) differ.
enum class ShaderLanguage { glsl330, glslEs300 };
// The version line and default precision every shader of a language begins with.
std::string shaderPrologue(ShaderLanguage language);

ShaderKey shaderKey(const DeviceState& state, const VertexLayout& layout);
std::string vertexShaderSource(const ShaderKey& key, ShaderLanguage language);
std::string fragmentShaderSource(const ShaderKey& key, ShaderLanguage language);

}  // namespace platform
