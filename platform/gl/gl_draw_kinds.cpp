#include "platform/gl/gl_draw_kinds.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "platform/ddraw/vertex_format.h"
#include "platform/gl/gl_shader_source.h"

namespace platform {

namespace {

constexpr DWORD litModel = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

// The states a driver's generated code depends on: the program's, blending,
// the depth test and the texture's sampling (whether there is a texture or a
// depth buffer, not which).
std::vector<DWORD> codeStates(const DeviceState& state, DWORD vertexFormat) {
    const auto& render = state.renderStates;
    const auto& stage = state.stageStates[0];
    std::vector<DWORD> states{vertexFormat,
                              state.depthBuffer != nullptr,
                              render[D3DRENDERSTATE_ZENABLE],
                              render[D3DRENDERSTATE_ZWRITEENABLE],
                              render[D3DRENDERSTATE_ZFUNC],
                              render[D3DRENDERSTATE_ALPHABLENDENABLE],
                              render[D3DRENDERSTATE_SRCBLEND],
                              render[D3DRENDERSTATE_DESTBLEND],
                              render[D3DRENDERSTATE_DITHERENABLE],
                              stage[D3DTSS_MAGFILTER],
                              stage[D3DTSS_MINFILTER],
                              stage[D3DTSS_ADDRESSU],
                              stage[D3DTSS_ADDRESSV]};
    std::apply([&states](const auto&... field) { (states.push_back(DWORD(field)), ...); },
               shaderKey(state, vertexLayout(vertexFormat)).tied());
    return states;
}

// Stands for any texture or z-buffer in a kind: only whether there is one counts.
const std::shared_ptr<SurfaceStore>& standIn() {
    static const auto texture = std::make_shared<SurfaceStore>();
    return texture;
}

DrawKind common(DWORD vertexFormat, bool blended, DWORD source, DWORD destination) {
    DrawKind kind{vertexFormat, DeviceState{}};
    auto& render = kind.state.renderStates;
    render[D3DRENDERSTATE_ZENABLE] = D3DZB_TRUE;
    render[D3DRENDERSTATE_DITHERENABLE] = TRUE;
    render[D3DRENDERSTATE_ALPHABLENDENABLE] = blended;
    render[D3DRENDERSTATE_SRCBLEND] = source;
    render[D3DRENDERSTATE_DESTBLEND] = destination;
    kind.state.stageStates[0][D3DTSS_MAGFILTER] = D3DTFG_LINEAR;
    kind.state.depthBuffer = standIn();
    kind.state.textures[0] = standIn();
    return kind;
}

// The size and shape of a texture's format, and whether each side is a power of two.
auto textureShape(const SurfaceStore& store) {
    const DDSURFACEDESC2& description = store.description;
    const DDPIXELFORMAT& format = description.ddpfPixelFormat;
    auto powerOfTwo = [](DWORD side) { return side != 0 && (side & (side - 1)) == 0; };
    return std::tuple(format.dwFlags, format.dwRGBBitCount, format.dwRBitMask, format.dwGBitMask, format.dwBBitMask,
                      format.dwRGBAlphaBitMask, powerOfTwo(description.dwWidth), powerOfTwo(description.dwHeight));
}

}  // namespace

DrawKinds::DrawKinds() {
    for (const DrawKind& kind : {common(litModel, false, D3DBLEND_ONE, D3DBLEND_ZERO),
                                 common(litModel, true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA),
                                 common(D3DFVF_TLVERTEX, true, D3DBLEND_ONE, D3DBLEND_ONE)})
        learn(kind.state, kind.vertexFormat);
}

bool DrawKinds::learn(const DeviceState& state, DWORD vertexFormat) {
    // Asked at every draw: the state is copied only when its kind is new.
    std::vector<DWORD> states = codeStates(state, vertexFormat);
    if (std::find(identities.begin(), identities.end(), states) != identities.end()) return false;
    DrawKind kind{vertexFormat, state};
    std::fill(kind.state.textures.begin(), kind.state.textures.end(), nullptr);
    if (state.textures[0] != nullptr) kind.state.textures[0] = standIn();
    if (state.depthBuffer != nullptr) kind.state.depthBuffer = standIn();
    kind.state.renderTarget = nullptr;
    identities.push_back(std::move(states));
    kinds.push_back(std::move(kind));
    return true;
}

std::vector<DrawKind> DrawKinds::learnFog(const DeviceState& state) {
    std::vector<DrawKind> learnt;
    for (size_t k = 0, known = kinds.size(); k < known; ++k) {
        DeviceState fogged = kinds[k].state;
        for (D3DRENDERSTATETYPE fog :
             {D3DRENDERSTATE_FOGENABLE, D3DRENDERSTATE_FOGTABLEMODE, D3DRENDERSTATE_FOGVERTEXMODE})
            fogged.renderStates[fog] = state.renderStates[fog];
        const DWORD vertexFormat = kinds[k].vertexFormat;
        if (learn(fogged, vertexFormat)) learnt.push_back(kinds.back());
    }
    return learnt;
}

bool TextureSamples::learn(const std::shared_ptr<SurfaceStore>& store) {
    std::erase_if(samples, [](const std::weak_ptr<SurfaceStore>& sample) { return sample.expired(); });
    const auto shape = textureShape(*store);
    for (const std::weak_ptr<SurfaceStore>& sample : samples) {
        std::shared_ptr<SurfaceStore> known = sample.lock();
        if (known == store || textureShape(*known) == shape) return false;
    }
    samples.push_back(store);
    return true;
}

std::vector<std::shared_ptr<SurfaceStore>> TextureSamples::alive() const {
    std::vector<std::shared_ptr<SurfaceStore>> stores;
    for (const std::weak_ptr<SurfaceStore>& sample : samples)
        if (std::shared_ptr<SurfaceStore> store = sample.lock()) stores.push_back(std::move(store));
    return stores;
}

}  // namespace platform
