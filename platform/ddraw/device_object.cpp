#include "platform/ddraw/device_object.h"

#include <algorithm>
#include <cstring>

#include "platform/ddraw/surface_object.h"
#include "platform/ddraw/vertex_format.h"

namespace platform {

namespace {

D3DVIEWPORT7 wholeSurface(const SurfaceStore& target) {
    return D3DVIEWPORT7{0, 0, target.description.dwWidth, target.description.dwHeight, 0.0f, 1.0f};
}

bool knownPrimitive(D3DPRIMITIVETYPE type) { return type >= D3DPT_POINTLIST && type <= D3DPT_TRIANGLEFAN; }

}  // namespace

DeviceObject::DeviceObject(std::shared_ptr<DisplayContext> context, std::shared_ptr<SurfaceStore> renderTarget)
    : ComObject("IDirect3DDevice7", std::move(context)) {
    useTarget(std::move(renderTarget));
    backend = driver().createDevice(state);
}

void DeviceObject::releaseResources() {
    backend.reset();
    state = DeviceState();
}

void DeviceObject::useTarget(std::shared_ptr<SurfaceStore> target) {
    state.viewport = wholeSurface(*target);
    state.depthBuffer = target->zBuffer;
    state.renderTarget = std::move(target);
}

HRESULT WINAPI DeviceObject::QueryInterface(REFIID iid, void** object) {
    return queryOwnInterface(iid, object, IID_IDirect3DDevice7);
}

HRESULT WINAPI DeviceObject::EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID callbackContext) {
    if (HRESULT refused = enter("EnumTextureFormats", {}); FAILED(refused)) return refused;
    if (callback == nullptr) return DDERR_INVALIDPARAMS;
    for (DDPIXELFORMAT format : driver().textureFormats())
        if (callback(&format, callbackContext) == D3DENUMRET_CANCEL) break;
    return DD_OK;
}

HRESULT WINAPI DeviceObject::BeginScene() {
    if (HRESULT refused = enter("BeginScene", {}); FAILED(refused)) return refused;
    if (inScene) return D3DERR_SCENE_IN_SCENE;
    inScene = true;
    return D3D_OK;
}

HRESULT WINAPI DeviceObject::EndScene() {
    if (HRESULT refused = enter("EndScene", {}); FAILED(refused)) return refused;
    if (!inScene) return D3DERR_SCENE_NOT_IN_SCENE;
    inScene = false;
    return D3D_OK;
}

// A z-buffer attached after the device was made counts from here on.
HRESULT WINAPI DeviceObject::SetRenderTarget(LPDIRECTDRAWSURFACE7 target, DWORD flags) {
    if (HRESULT refused = enter("SetRenderTarget", {}, target, flags); FAILED(refused)) return refused;
    std::shared_ptr<SurfaceStore> store = SurfaceObject::storeOf(target, *context);
    if (store == nullptr) return DDERR_INVALIDPARAMS;
    if (!(store->caps() & DDSCAPS_3DDEVICE) || !driver().rendersInto(*store)) return DDERR_INVALIDCAPS;
    useTarget(std::move(store));
    return D3D_OK;
}

std::vector<D3DRECT> DeviceObject::clipToViewport(DWORD count, const D3DRECT* rects) const {
    const D3DVIEWPORT7& viewport = state.viewport;
    D3DRECT whole{LONG(viewport.dwX), LONG(viewport.dwY), LONG(viewport.dwX + viewport.dwWidth),
                  LONG(viewport.dwY + viewport.dwHeight)};
    if (count == 0) return {whole};
    std::vector<D3DRECT> clipped;
    for (DWORD index = 0; index < count; ++index) {
        D3DRECT rect{std::max(rects[index].x1, whole.x1), std::max(rects[index].y1, whole.y1),
                     std::min(rects[index].x2, whole.x2), std::min(rects[index].y2, whole.y2)};
        if (rect.x1 < rect.x2 && rect.y1 < rect.y2) clipped.push_back(rect);
    }
    return clipped;
}

HRESULT WINAPI DeviceObject::Clear(DWORD count, LPD3DRECT rects, DWORD flags, D3DCOLOR colour, D3DVALUE z,
                                   DWORD stencil) {
    if (HRESULT refused = enter("Clear", bytesOf(rects, count), count, flags, colour, z, stencil); FAILED(refused))
        return refused;
    if ((count > 0 && rects == nullptr) || flags == 0 || (flags & D3DCLEAR_STENCIL)) return DDERR_INVALIDPARAMS;
    if ((flags & D3DCLEAR_ZBUFFER) && state.depthBuffer == nullptr) return D3DERR_ZBUFFER_NOTPRESENT;
    std::vector<D3DRECT> clipped = clipToViewport(count, rects);
    if (!clipped.empty()) backend->clear(state, clipped, flags, colour, std::clamp(z, 0.0f, 1.0f));
    return D3D_OK;
}

HRESULT WINAPI DeviceObject::SetTransform(D3DTRANSFORMSTATETYPE which, LPD3DMATRIX matrix) {
    if (HRESULT refused = enter("SetTransform", bytesOf(matrix), which); FAILED(refused)) return refused;
    if (matrix == nullptr) return DDERR_INVALIDPARAMS;
    switch (which) {
        case D3DTRANSFORMSTATE_WORLD: state.world = *matrix; return D3D_OK;
        case D3DTRANSFORMSTATE_VIEW: state.view = *matrix; return D3D_OK;
        case D3DTRANSFORMSTATE_PROJECTION: state.projection = *matrix; return D3D_OK;
        default: return DDERR_INVALIDPARAMS;
    }
}

HRESULT WINAPI DeviceObject::SetViewport(LPD3DVIEWPORT7 viewport) {
    if (HRESULT refused = enter("SetViewport", bytesOf(viewport)); FAILED(refused)) return refused;
    if (viewport == nullptr) return DDERR_INVALIDPARAMS;
    const DDSURFACEDESC2& target = state.renderTarget->description;
    if (viewport->dwWidth == 0 || viewport->dwHeight == 0 || viewport->dwX + viewport->dwWidth > target.dwWidth ||
        viewport->dwY + viewport->dwHeight > target.dwHeight)
        return DDERR_INVALIDPARAMS;
    if (!(viewport->dvMinZ >= 0.0f && viewport->dvMinZ <= viewport->dvMaxZ && viewport->dvMaxZ <= 1.0f))
        return DDERR_INVALIDPARAMS;
    state.viewport = *viewport;
    return D3D_OK;
}

HRESULT WINAPI DeviceObject::SetMaterial(LPD3DMATERIAL7 material) {
    if (HRESULT refused = enter("SetMaterial", bytesOf(material)); FAILED(refused)) return refused;
    if (material == nullptr) return DDERR_INVALIDPARAMS;
    state.material = *material;
    return D3D_OK;
}

HRESULT WINAPI DeviceObject::SetRenderState(D3DRENDERSTATETYPE which, DWORD value) {
    if (HRESULT refused = enter("SetRenderState", {}, which, value); FAILED(refused)) return refused;
    if (which <= 0 || DWORD(which) >= D3D_MAXRENDERSTATES) return DDERR_INVALIDPARAMS;
    const bool fogChanged = state.renderStates[which] != value &&
                            (which == D3DRENDERSTATE_FOGENABLE || which == D3DRENDERSTATE_FOGTABLEMODE ||
                             which == D3DRENDERSTATE_FOGVERTEXMODE);
    state.renderStates[which] = value;
    if (fogChanged && backend != nullptr) backend->fogChanged(state);
    return D3D_OK;
}

HRESULT WINAPI DeviceObject::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE which, DWORD value) {
    if (HRESULT refused = enter("SetTextureStageState", {}, stage, which, value); FAILED(refused)) return refused;
    if (stage >= D3DDP_MAXTEXCOORD || which <= 0 || DWORD(which) >= D3D_MAXTEXTURESTAGESTATES)
        return DDERR_INVALIDPARAMS;
    state.stageStates[stage][which] = value;
    return D3D_OK;
}

HRESULT WINAPI DeviceObject::SetTexture(DWORD stage, LPDIRECTDRAWSURFACE7 texture) {
    if (HRESULT refused = enter("SetTexture", {}, stage, texture); FAILED(refused)) return refused;
    if (stage >= D3DDP_MAXTEXCOORD) return DDERR_INVALIDPARAMS;
    std::shared_ptr<SurfaceStore> store;
    if (texture != nullptr) {
        store = SurfaceObject::storeOf(texture, *context);
        if (store == nullptr || !(store->caps() & DDSCAPS_TEXTURE)) return DDERR_INVALIDPARAMS;
    }
    state.textures[stage] = std::move(store);
    return D3D_OK;
}

HRESULT DeviceObject::checkDraw(D3DPRIMITIVETYPE type, DWORD vertexFormat, const void* vertices) const {
    if (!knownPrimitive(type)) return D3DERR_INVALIDPRIMITIVETYPE;
    if (!validVertexFormat(vertexFormat)) return D3DERR_INVALIDVERTEXTYPE;
    if (vertices == nullptr) return DDERR_INVALIDPARAMS;
    if (!inScene) return D3DERR_SCENE_NOT_IN_SCENE;
    return D3D_OK;
}

// The vertices a draw was given, for the record, when the driver keeps them.
std::span<const uint8_t> DeviceObject::drawnVertices(DWORD vertexFormat, const void* vertices,
                                                     DWORD vertexCount) const {
    if (!keepsDrawnVertices() || !validVertexFormat(vertexFormat) || vertices == nullptr) return {};
    size_t vertexBytes = size_t(vertexLayout(vertexFormat).stride) * std::min(vertexCount, D3DMAXNUMVERTICES);
    return {static_cast<const uint8_t*>(vertices), vertexBytes};
}

// The vertices, then the indices, of an indexed draw.
std::vector<uint8_t> DeviceObject::drawPayload(DWORD vertexFormat, const void* vertices, DWORD vertexCount,
                                               const WORD* indices, DWORD indexCount) const {
    std::span<const uint8_t> vertexBytes = drawnVertices(vertexFormat, vertices, vertexCount);
    if (vertexBytes.empty()) return {};
    std::vector<uint8_t> payload(vertexBytes.begin(), vertexBytes.end());
    if (indices != nullptr) {
        auto indexBytes = reinterpret_cast<const uint8_t*>(indices);
        payload.insert(payload.end(), indexBytes, indexBytes + sizeof(WORD) * indexCount);
    }
    return payload;
}

HRESULT WINAPI DeviceObject::DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices,
                                           DWORD vertexCount, DWORD flags) {
    if (HRESULT refused = enter("DrawPrimitive", drawnVertices(vertexFormat, vertices, vertexCount), type, vertexFormat,
                                vertexCount, flags);
        FAILED(refused))
        return refused;
    if (HRESULT refused = checkDraw(type, vertexFormat, vertices); FAILED(refused)) return refused;
    if (vertexCount > D3DMAXNUMVERTICES) return DDERR_INVALIDPARAMS;
    if (vertexCount == 0) return D3D_OK;
    backend->draw(state,
                  DrawRequest{type, vertexFormat, static_cast<const uint8_t*>(vertices), vertexCount, nullptr, 0});
    return D3D_OK;
}

HRESULT WINAPI DeviceObject::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices,
                                                  DWORD vertexCount, LPWORD indices, DWORD indexCount, DWORD flags) {
    std::vector<uint8_t> payload = drawPayload(vertexFormat, vertices, vertexCount, indices, indexCount);
    if (HRESULT refused = enter("DrawIndexedPrimitive", payload, type, vertexFormat, vertexCount, indexCount, flags);
        FAILED(refused))
        return refused;
    if (HRESULT refused = checkDraw(type, vertexFormat, vertices); FAILED(refused)) return refused;
    if (indices == nullptr || vertexCount > D3DMAXNUMVERTICES) return DDERR_INVALIDPARAMS;
    // An index past the vertices would make the renderer read beyond the caller's array.
    if (std::any_of(indices, indices + indexCount, [vertexCount](WORD index) { return index >= vertexCount; }))
        return DDERR_INVALIDPARAMS;
    if (indexCount == 0) return D3D_OK;
    backend->draw(state, DrawRequest{type, vertexFormat, static_cast<const uint8_t*>(vertices), vertexCount, indices,
                                     indexCount});
    return D3D_OK;
}

}  // namespace platform
