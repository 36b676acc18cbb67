#include "platform/ddraw/surface_object.h"

#include <algorithm>

namespace platform {

namespace {

DWORD bytesPerPixel(const SurfaceStore& store) {
    return std::max<DWORD>(1, store.description.ddpfPixelFormat.dwRGBBitCount / 8);
}

bool validRect(const RECT& rect, const DDSURFACEDESC2& description) {
    return rect.left >= 0 && rect.top >= 0 && rect.left < rect.right && rect.top < rect.bottom &&
           static_cast<DWORD>(rect.right) <= description.dwWidth &&
           static_cast<DWORD>(rect.bottom) <= description.dwHeight;
}

}  // namespace

SurfaceObject::SurfaceObject(std::shared_ptr<DisplayContext> context, std::shared_ptr<SurfaceStore> store)
    : ComObject("IDirectDrawSurface7", std::move(context)), store(std::move(store)) {}

std::shared_ptr<SurfaceStore> SurfaceObject::storeOf(IDirectDrawSurface7* surface, const DisplayContext& context) {
    auto* ours = dynamic_cast<SurfaceObject*>(surface);
    if (ours == nullptr || ours->references == 0 || ours->context.get() != &context) return nullptr;
    return ours->store;
}

void SurfaceObject::adopt(SurfaceObject* attached) { attachments.push_back(attached); }

void SurfaceObject::releaseResources() {
    for (SurfaceObject* attached : attachments) attached->Release();
    attachments.clear();
    store.reset();
}

HRESULT WINAPI SurfaceObject::QueryInterface(REFIID iid, void** object) {
    return queryOwnInterface(iid, object, IID_IDirectDrawSurface7);
}

HRESULT SurfaceObject::checkAttachment(const SurfaceStore& zBuffer) const {
    if (!(zBuffer.caps() & DDSCAPS_ZBUFFER) || !(store->caps() & DDSCAPS_3DDEVICE)) return DDERR_CANNOTATTACHSURFACE;
    if (zBuffer.description.dwWidth != store->description.dwWidth ||
        zBuffer.description.dwHeight != store->description.dwHeight)
        return DDERR_CANNOTATTACHSURFACE;
    if (store->zBuffer != nullptr) return DDERR_SURFACEALREADYATTACHED;
    return DD_OK;
}

HRESULT WINAPI SurfaceObject::AddAttachedSurface(LPDIRECTDRAWSURFACE7 attached) {
    if (HRESULT refused = enter("AddAttachedSurface", {}, attached); FAILED(refused)) return refused;
    std::shared_ptr<SurfaceStore> zBuffer = storeOf(attached, *context);
    if (zBuffer == nullptr || zBuffer == store) return DDERR_INVALIDPARAMS;
    if (HRESULT refused = checkAttachment(*zBuffer); FAILED(refused)) return refused;
    store->zBuffer = zBuffer;
    attached->AddRef();
    attachments.push_back(static_cast<SurfaceObject*>(attached));
    return DD_OK;
}

HRESULT WINAPI SurfaceObject::Flip(LPDIRECTDRAWSURFACE7 targetOverride, DWORD flags) {
    if (HRESULT refused = enter("Flip", {}, targetOverride, flags); FAILED(refused)) return refused;
    auto backBuffer = std::find_if(attachments.begin(), attachments.end(), [](SurfaceObject* attached) {
        return (attached->store->caps() & DDSCAPS_BACKBUFFER) != 0;
    });
    if (!(store->caps() & DDSCAPS_FLIP) || backBuffer == attachments.end()) return DDERR_NOTFLIPPABLE;
    if (targetOverride != nullptr && targetOverride != *backBuffer) return DDERR_INVALIDPARAMS;
    if (!context->exclusive) return DDERR_NOEXCLUSIVEMODE;
    if (store->locked || (*backBuffer)->store->locked) return DDERR_SURFACEBUSY;
    return driver().present(*(*backBuffer)->store, flags);
}

HRESULT WINAPI SurfaceObject::GetAttachedSurface(LPDDSCAPS2 caps, LPDIRECTDRAWSURFACE7* attached) {
    if (HRESULT refused = enter("GetAttachedSurface", bytesOf(caps), caps ? caps->dwCaps : 0); FAILED(refused))
        return refused;
    if (caps == nullptr || attached == nullptr) return DDERR_INVALIDPARAMS;
    *attached = nullptr;
    for (SurfaceObject* candidate : attachments) {
        if ((candidate->store->caps() & caps->dwCaps) != caps->dwCaps) continue;
        candidate->AddRef();
        *attached = candidate;
        return DD_OK;
    }
    return DDERR_NOTFOUND;
}

HRESULT WINAPI SurfaceObject::GetSurfaceDesc(LPDDSURFACEDESC2 description) {
    if (HRESULT refused = enter("GetSurfaceDesc", {}); FAILED(refused)) return refused;
    if (description == nullptr || description->dwSize != sizeof(DDSURFACEDESC2)) return DDERR_INVALIDPARAMS;
    *description = store->description;
    description->lpSurface = nullptr;
    return DD_OK;
}

bool SurfaceObject::lockable() const {
    if (store->caps() & (DDSCAPS_PRIMARYSURFACE | DDSCAPS_BACKBUFFER | DDSCAPS_ZBUFFER))
        return driver().lockableRenderTargets();
    return true;
}

HRESULT WINAPI SurfaceObject::Lock(LPRECT rect, LPDDSURFACEDESC2 description, DWORD flags, HANDLE) {
    if (HRESULT refused = enter("Lock", bytesOf(rect), flags); FAILED(refused)) return refused;
    if (description == nullptr || description->dwSize != sizeof(DDSURFACEDESC2)) return DDERR_INVALIDPARAMS;
    if (rect != nullptr && !validRect(*rect, store->description)) return DDERR_INVALIDRECT;
    if (!lockable()) return DDERR_CANTLOCKSURFACE;
    if (store->locked) return DDERR_SURFACEBUSY;
    size_t offset = 0;
    if (rect != nullptr)
        offset = size_t(rect->top) * store->description.lPitch + size_t(rect->left) * bytesPerPixel(*store);
    *description = store->description;
    description->dwFlags |= DDSD_PITCH | DDSD_LPSURFACE;
    description->lpSurface = store->pixels.data() + offset;
    store->locked = true;
    lockFlags = flags;
    return DD_OK;
}

HRESULT WINAPI SurfaceObject::Unlock(LPRECT rect) {
    if (HRESULT refused = enter("Unlock", bytesOf(rect)); FAILED(refused)) return refused;
    if (!store->locked) return DDERR_NOTLOCKED;
    store->locked = false;
    if (lockFlags & DDLOCK_READONLY) return DD_OK;
    ++store->revision;
    if (store->caps() & DDSCAPS_TEXTURE) driver().textureWritten(store);
    return DD_OK;
}

}  // namespace platform
