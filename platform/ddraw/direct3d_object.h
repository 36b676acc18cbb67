#pragma once
// IDirect3D7 and IDirect3DVertexBuffer7. Internal to the platform layer.

#include <memory>
#include <vector>

#include "platform/ddraw/com_object.h"

namespace platform {

class Direct3DObject final : public ComObject<IDirect3D7> {
public:
    explicit Direct3DObject(std::shared_ptr<DisplayContext> context);

    HRESULT WINAPI QueryInterface(REFIID iid, void** object) override;
    HRESULT WINAPI CreateDevice(REFCLSID deviceType, LPDIRECTDRAWSURFACE7 renderTarget,
                                IDirect3DDevice7** device) override;
    HRESULT WINAPI CreateVertexBuffer(LPD3DVERTEXBUFFERDESC description, IDirect3DVertexBuffer7** buffer,
                                      DWORD flags) override;
    HRESULT WINAPI EnumZBufferFormats(REFCLSID deviceType, LPD3DENUMPIXELFORMATSCALLBACK callback,
                                      LPVOID callbackContext) override;

private:
    void releaseResources() override {}
};

class VertexBufferObject final : public ComObject<IDirect3DVertexBuffer7> {
public:
    VertexBufferObject(std::shared_ptr<DisplayContext> context, const D3DVERTEXBUFFERDESC& description);

    HRESULT WINAPI QueryInterface(REFIID iid, void** object) override;
    HRESULT WINAPI Lock(DWORD flags, LPVOID* data, LPDWORD size) override;
    HRESULT WINAPI Unlock() override;
    HRESULT WINAPI GetVertexBufferDesc(LPD3DVERTEXBUFFERDESC description) override;

private:
    void releaseResources() override;

    D3DVERTEXBUFFERDESC description;
    std::vector<uint8_t> vertices;
    bool locked = false;
};

}  // namespace platform
