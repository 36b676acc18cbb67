#include "platform/ddraw/direct_draw_object.h"

#include "platform/ddraw/direct3d_object.h"
#include "platform/ddraw/pixel_formats.h"
#include "platform/ddraw/surface_factory.h"

namespace platform {

namespace {

DDSURFACEDESC2 describeMode(const DisplayMode& mode) {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(DDSURFACEDESC2);
    description.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
    description.dwWidth = mode.width;
    description.dwHeight = mode.height;
    description.lPitch = static_cast<LONG>(mode.width * (mode.bitsPerPixel / 8));
    description.dwRefreshRate = mode.refreshRate;
    description.ddpfPixelFormat = displayPixelFormat(mode.bitsPerPixel);
    return description;
}

// Only the fields the match description marks as valid must agree.
bool modeMatches(const DisplayMode& mode, const DDSURFACEDESC2* match) {
    if (match == nullptr) return true;
    if ((match->dwFlags & DDSD_WIDTH) && match->dwWidth != mode.width) return false;
    if ((match->dwFlags & DDSD_HEIGHT) && match->dwHeight != mode.height) return false;
    if ((match->dwFlags & DDSD_PIXELFORMAT) && match->ddpfPixelFormat.dwRGBBitCount != mode.bitsPerPixel) return false;
    return !(match->dwFlags & DDSD_REFRESHRATE) || match->dwRefreshRate == mode.refreshRate;
}

bool levelIsValid(HWND window, DWORD flags) {
    bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    if (exclusive != ((flags & DDSCL_FULLSCREEN) != 0)) return false;
    if (exclusive) return IsWindow(window) && !(flags & DDSCL_NORMAL);
    return (flags & DDSCL_NORMAL) != 0;
}

}  // namespace

DirectDrawObject::DirectDrawObject(std::shared_ptr<Driver> driver, std::shared_ptr<CallWatch> watch)
    : ComObject("IDirectDraw7", std::make_shared<DisplayContext>(std::move(driver), std::move(watch))) {
    context->mode = context->driver->desktopMode();
}

void DirectDrawObject::releaseResources() {
    context->open = false;
    driver().shutDown();
}

// IDirect3D7 is a separate object sharing this one's display.
HRESULT WINAPI DirectDrawObject::QueryInterface(REFIID iid, void** object) {
    if (!(iid == IID_IDirect3D7)) return queryOwnInterface(iid, object, IID_IDirectDraw7);
    if (HRESULT refused = enter("QueryInterface", {}); FAILED(refused)) return refused;
    if (object == nullptr) return DDERR_INVALIDPARAMS;
    *object = static_cast<IDirect3D7*>(createObject<Direct3DObject>(context));
    return DD_OK;
}

HRESULT WINAPI DirectDrawObject::CreateSurface(LPDDSURFACEDESC2 description, LPDIRECTDRAWSURFACE7* surface,
                                               IUnknown* outer) {
    DWORD caps = description ? description->ddsCaps.dwCaps : 0;
    if (HRESULT refused = enter("CreateSurface", bytesOf(description), caps); FAILED(refused)) return refused;
    if (description == nullptr || surface == nullptr || outer != nullptr) return DDERR_INVALIDPARAMS;
    *surface = nullptr;
    if (description->dwSize != sizeof(DDSURFACEDESC2)) return DDERR_INVALIDPARAMS;
    SurfaceObject* created = nullptr;
    if (HRESULT refused = createSurface(context, *description, &created); FAILED(refused)) return refused;
    *surface = created;
    return DD_OK;
}

HRESULT WINAPI DirectDrawObject::EnumDisplayModes(DWORD flags, LPDDSURFACEDESC2 match, LPVOID callbackContext,
                                                  LPDDENUMMODESCALLBACK2 callback) {
    if (HRESULT refused = enter("EnumDisplayModes", bytesOf(match), flags); FAILED(refused)) return refused;
    if (callback == nullptr) return DDERR_INVALIDPARAMS;
    for (const DisplayMode& mode : driver().displayModes()) {
        if (!modeMatches(mode, match)) continue;
        DDSURFACEDESC2 description = describeMode(mode);
        if (callback(&description, callbackContext) == DDENUMRET_CANCEL) break;
    }
    return DD_OK;
}

HRESULT WINAPI DirectDrawObject::SetCooperativeLevel(HWND window, DWORD flags) {
    if (HRESULT refused = enter("SetCooperativeLevel", {}, window, flags); FAILED(refused)) return refused;
    if (!levelIsValid(window, flags)) return DDERR_INVALIDPARAMS;
    if (HRESULT refused = driver().setCooperativeLevel(window, flags); FAILED(refused)) return refused;
    context->exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    return DD_OK;
}

HRESULT WINAPI DirectDrawObject::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                                                DWORD flags) {
    if (HRESULT refused = enter("SetDisplayMode", {}, width, height, bitsPerPixel, refreshRate, flags); FAILED(refused))
        return refused;
    for (const DisplayMode& mode : driver().displayModes()) {
        if (mode.width != width || mode.height != height || mode.bitsPerPixel != bitsPerPixel) continue;
        if (refreshRate != 0 && mode.refreshRate != 0 && mode.refreshRate != refreshRate) continue;
        if (HRESULT refused = driver().setDisplayMode(mode); FAILED(refused)) return refused;
        context->mode = mode;
        return DD_OK;
    }
    return DDERR_INVALIDMODE;
}

}  // namespace platform
