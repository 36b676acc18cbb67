#include "platform/ddraw/direct3d_object.h"

#include "platform/ddraw/device_object.h"
#include "platform/ddraw/surface_object.h"
#include "platform/ddraw/vertex_format.h"

namespace platform {

namespace {

bool knownDevice(REFCLSID deviceType) {
    return deviceType == IID_IDirect3DHALDevice || deviceType == IID_IDirect3DTnLHalDevice;
}

}  // namespace

Direct3DObject::Direct3DObject(std::shared_ptr<DisplayContext> context) : ComObject("IDirect3D7", std::move(context)) {}

HRESULT WINAPI Direct3DObject::QueryInterface(REFIID iid, void** object) {
    return queryOwnInterface(iid, object, IID_IDirect3D7);
}

HRESULT WINAPI Direct3DObject::CreateDevice(REFCLSID deviceType, LPDIRECTDRAWSURFACE7 renderTarget,
                                            IDirect3DDevice7** device) {
    if (HRESULT refused = enter("CreateDevice", bytesOf(&deviceType), renderTarget); FAILED(refused)) return refused;
    if (device == nullptr) return DDERR_INVALIDPARAMS;
    *device = nullptr;
    if (!knownDevice(deviceType)) return D3DERR_INVALID_DEVICE;
    std::shared_ptr<SurfaceStore> target = SurfaceObject::storeOf(renderTarget, *context);
    if (target == nullptr) return DDERR_INVALIDPARAMS;
    if (!(target->caps() & DDSCAPS_3DDEVICE) || !context->driver->rendersInto(*target)) return DDERR_INVALIDCAPS;
    *device = createObject<DeviceObject>(context, std::move(target));
    return DD_OK;
}

HRESULT WINAPI Direct3DObject::CreateVertexBuffer(LPD3DVERTEXBUFFERDESC description, IDirect3DVertexBuffer7** buffer,
                                                  DWORD flags) {
    if (HRESULT refused = enter("CreateVertexBuffer", bytesOf(description), flags); FAILED(refused)) return refused;
    if (description == nullptr || buffer == nullptr) return DDERR_INVALIDPARAMS;
    *buffer = nullptr;
    if (description->dwSize != sizeof(D3DVERTEXBUFFERDESC)) return DDERR_INVALIDPARAMS;
    if (!validVertexFormat(description->dwFVF)) return D3DERR_INVALIDVERTEXTYPE;
    if (description->dwNumVertices == 0 || description->dwNumVertices > D3DMAXNUMVERTICES) return DDERR_INVALIDPARAMS;
    *buffer = createObject<VertexBufferObject>(context, *description);
    return DD_OK;
}

HRESULT WINAPI Direct3DObject::EnumZBufferFormats(REFCLSID deviceType, LPD3DENUMPIXELFORMATSCALLBACK callback,
                                                  LPVOID callbackContext) {
    if (HRESULT refused = enter("EnumZBufferFormats", bytesOf(&deviceType)); FAILED(refused)) return refused;
    if (callback == nullptr) return DDERR_INVALIDPARAMS;
    if (!knownDevice(deviceType)) return D3DERR_INVALID_DEVICE;
    for (DDPIXELFORMAT format : driver().zBufferFormats())
        if (callback(&format, callbackContext) == D3DENUMRET_CANCEL) break;
    return DD_OK;
}

VertexBufferObject::VertexBufferObject(std::shared_ptr<DisplayContext> context, const D3DVERTEXBUFFERDESC& description)
    : ComObject("IDirect3DVertexBuffer7", std::move(context)),
      description(description),
      vertices(size_t(vertexLayout(description.dwFVF).stride) * description.dwNumVertices) {}

void VertexBufferObject::releaseResources() { vertices = {}; }

HRESULT WINAPI VertexBufferObject::QueryInterface(REFIID iid, void** object) {
    return queryOwnInterface(iid, object, IID_IDirect3DVertexBuffer7);
}

HRESULT WINAPI VertexBufferObject::Lock(DWORD flags, LPVOID* data, LPDWORD size) {
    if (HRESULT refused = enter("Lock", {}, flags); FAILED(refused)) return refused;
    if (data == nullptr) return DDERR_INVALIDPARAMS;
    *data = nullptr;
    if (locked) return D3DERR_VERTEXBUFFERLOCKED;
    locked = true;
    *data = vertices.data();
    if (size != nullptr) *size = static_cast<DWORD>(vertices.size());
    return DD_OK;
}

HRESULT WINAPI VertexBufferObject::Unlock() {
    if (HRESULT refused = enter("Unlock", {}); FAILED(refused)) return refused;
    if (!locked) return D3DERR_VERTEXBUFFERUNLOCKFAILED;
    locked = false;
    return DD_OK;
}

HRESULT WINAPI VertexBufferObject::GetVertexBufferDesc(LPD3DVERTEXBUFFERDESC wanted) {
    if (HRESULT refused = enter("GetVertexBufferDesc", {}); FAILED(refused)) return refused;
    if (wanted == nullptr || wanted->dwSize != sizeof(D3DVERTEXBUFFERDESC)) return DDERR_INVALIDPARAMS;
    *wanted = description;
    return DD_OK;
}

}  // namespace platform
