#include "bench/layer_frame.h"

#include <cstring>
#include <vector>

#include "base/display_request.h"
#include "base/display_state.h"
#include "base/process_state.h"
#include "bench/thread_clock.h"
#include "platform/tool_interface.h"
#include "render/renderer.h"
#include "scene/scene.h"

namespace bench {

struct LayerFrame::State {
    explicit State(const SyntheticFrame& frame) : frame(frame) {}

    const SyntheticFrame& frame;
    Renderer renderer;
    std::vector<IDirectDrawSurface7*> textures;
};

namespace {

IDirectDrawSurface7* makeTexture(const Texels& texels) {
    DDPIXELFORMAT format = texels.alpha ? alphaTextureFormat : textureFormat;
    IDirectDrawSurface7* surface = Renderer::createTextureSurface(format, texels.height, texels.width);
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof description;
    surface->Lock(nullptr, &description, DDLOCK_WRITEONLY, nullptr);
    for (uint32_t row = 0; row < texels.height; ++row)
        std::memcpy(static_cast<uint8_t*>(description.lpSurface) + row * description.lPitch,
                    &texels.pixels[size_t(row) * texels.width], texels.width * sizeof(uint16_t));
    surface->Unlock(nullptr);
    return surface;
}

}  // namespace

LayerFrame::LayerFrame(const SyntheticFrame& frame) : state(std::make_unique<State>(frame)) {
    deviceGuid = &platform::captureDriverGuid();
    requestDemoDisplay(1);
    state->renderer.setUp();
    Scene scene(directDraw, device);
    scene.fogMode = D3DFOG_LINEAR;
    scene.fogStart = frame.fogStart;
    scene.fogEnd = frame.fogEnd;
    Renderer::applySceneRenderStates(scene);
    state->renderer.setDefaultRenderStates();
    for (const Texels& texels : frame.textures) state->textures.push_back(makeTexture(texels));
}

LayerFrame::~LayerFrame() {
    for (IDirectDrawSurface7* texture : state->textures) texture->Release();
    releaseDemoDisplay();
}

void LayerFrame::draw() {
    const SyntheticFrame& frame = state->frame;
    Renderer& renderer = state->renderer;
    renderer.clear();
    renderer.beginScene();
    uint64_t start = threadNanoseconds();
    for (const Batch& batch : frame.opaque) {
        device->SetTexture(0, state->textures[batch.texture]);
        device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, const_cast<SceneVertex*>(batch.vertices.data()),
                              DWORD(batch.vertices.size()), 0);
    }
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    for (const Batch& batch : frame.transparent) {
        device->SetTexture(0, state->textures[batch.texture]);
        device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, const_cast<SceneVertex*>(batch.vertices.data()),
                              DWORD(batch.vertices.size()), 0);
    }
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CW);
    for (size_t index = 0; index < frame.overlays.size(); ++index) {
        device->SetTexture(0, state->textures[frame.overlayTextures[index]]);
        device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
        device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
        device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
        device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX,
                                     const_cast<D3DTLVERTEX*>(frame.overlays[index].data()), 4,
                                     const_cast<WORD*>(frame.overlayIndices.data()), 6, 0);
        device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
        device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CW);
    }
    drawNanoseconds += threadNanoseconds() - start;
    renderer.endScene();
    renderer.flip();
}

}  // namespace bench
