#pragma once
// IDirect3DDevice7: keeps the fixed-function state, checks every call, and
// hands clears and draws to its driver's DeviceBackend.
// Internal to the platform layer.

#include <memory>
#include <vector>

#include "platform/ddraw/com_object.h"

namespace platform {

class DeviceObject final : public ComObject<IDirect3DDevice7> {
public:
    DeviceObject(std::shared_ptr<DisplayContext> context, std::shared_ptr<SurfaceStore> renderTarget);

    HRESULT WINAPI QueryInterface(REFIID iid, void** object) override;
    HRESULT WINAPI EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID callbackContext) override;
    HRESULT WINAPI BeginScene() override;
    HRESULT WINAPI EndScene() override;
    HRESULT WINAPI SetRenderTarget(LPDIRECTDRAWSURFACE7 target, DWORD flags) override;
    HRESULT WINAPI Clear(DWORD count, LPD3DRECT rects, DWORD flags, D3DCOLOR colour, D3DVALUE z,
                         DWORD stencil) override;
    HRESULT WINAPI SetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) override;
    HRESULT WINAPI SetViewport(LPD3DVIEWPORT7 viewport) override;
    HRESULT WINAPI SetMaterial(LPD3DMATERIAL7 material) override;
    HRESULT WINAPI SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT WINAPI DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices, DWORD vertexCount,
                                 DWORD flags) override;
    HRESULT WINAPI DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices, DWORD vertexCount,
                                        LPWORD indices, DWORD indexCount, DWORD flags) override;
    HRESULT WINAPI SetTexture(DWORD stage, LPDIRECTDRAWSURFACE7 texture) override;
    HRESULT WINAPI SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) override;

private:
    void releaseResources() override;
    void useTarget(std::shared_ptr<SurfaceStore> target);
    HRESULT checkDraw(D3DPRIMITIVETYPE type, DWORD vertexFormat, const void* vertices) const;
    std::vector<D3DRECT> clipToViewport(DWORD count, const D3DRECT* rects) const;
    std::span<const uint8_t> drawnVertices(DWORD vertexFormat, const void* vertices, DWORD vertexCount) const;
    std::vector<uint8_t> drawPayload(DWORD vertexFormat, const void* vertices, DWORD vertexCount, const WORD* indices,
                                     DWORD indexCount) const;

    DeviceState state;
    std::shared_ptr<DeviceBackend> backend;
    bool inScene = false;
};

}  // namespace platform
