#include "platform/ddraw/surface_factory.h"

#include <algorithm>
#include <optional>

#include "platform/ddraw/pixel_formats.h"

namespace platform {

namespace {

constexpr DWORD videoMemory = DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;

struct SurfaceShape {
    DWORD caps;
    DWORD caps2;
    DWORD width;
    DWORD height;
    DDPIXELFORMAT format;
};

std::shared_ptr<SurfaceStore> newStore(const Driver& driver, const SurfaceShape& shape, bool inMemory) {
    auto store = std::make_shared<SurfaceStore>();
    DDSURFACEDESC2& description = store->description;
    description.dwSize = sizeof(DDSURFACEDESC2);
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    description.dwWidth = shape.width;
    description.dwHeight = shape.height;
    description.ddpfPixelFormat = shape.format;
    description.ddsCaps.dwCaps = shape.caps;
    description.ddsCaps.dwCaps2 = shape.caps2;
    DWORD alignment = driver.pitchAlignment();
    DWORD rowBytes = shape.width * std::max<DWORD>(1, shape.format.dwRGBBitCount / 8);
    description.lPitch = static_cast<LONG>((rowBytes + alignment - 1) / alignment * alignment);
    if (inMemory) store->pixels.assign(size_t(description.lPitch) * shape.height, 0);
    return store;
}

SurfaceObject* newSurface(const std::shared_ptr<DisplayContext>& context, const SurfaceShape& shape, bool inMemory) {
    return createObject<SurfaceObject>(context, newStore(*context->driver, shape, inMemory));
}

HRESULT checkSize(const DDSURFACEDESC2& description, DWORD largest) {
    if ((description.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT)) return DDERR_INVALIDPARAMS;
    if (description.dwWidth == 0 || description.dwHeight == 0) return DDERR_INVALIDPARAMS;
    if (description.dwWidth > largest) return DDERR_TOOBIGWIDTH;
    if (description.dwHeight > largest) return DDERR_TOOBIGHEIGHT;
    return DD_OK;
}

std::optional<DDPIXELFORMAT> findFormat(const std::vector<DDPIXELFORMAT>& offered, const DDPIXELFORMAT& wanted) {
    if (wanted.dwSize != sizeof(DDPIXELFORMAT)) return std::nullopt;
    auto found = std::find_if(offered.begin(), offered.end(),
                              [&](const DDPIXELFORMAT& format) { return samePixelFormat(format, wanted); });
    if (found == offered.end()) return std::nullopt;
    return *found;
}

// A z-buffer is asked for by its depth alone.
std::optional<DDPIXELFORMAT> findZBufferFormat(const std::vector<DDPIXELFORMAT>& offered,
                                               const DDSURFACEDESC2& description) {
    const DDPIXELFORMAT& wanted = description.ddpfPixelFormat;
    if (!(description.dwFlags & DDSD_PIXELFORMAT) || wanted.dwSize != sizeof(DDPIXELFORMAT)) return std::nullopt;
    if (!(wanted.dwFlags & DDPF_ZBUFFER)) return std::nullopt;
    auto found = std::find_if(offered.begin(), offered.end(), [&](const DDPIXELFORMAT& format) {
        return format.dwZBufferBitDepth == wanted.dwZBufferBitDepth;
    });
    if (found == offered.end()) return std::nullopt;
    return *found;
}

// Without DDSD_PIXELFORMAT a surface takes the display's format.
DDPIXELFORMAT requestedFormat(const DisplayContext& context, const DDSURFACEDESC2& description) {
    if (description.dwFlags & DDSD_PIXELFORMAT) return description.ddpfPixelFormat;
    return displayPixelFormat(context.mode.bitsPerPixel);
}

HRESULT checkFlipChain(const DisplayContext& context, const DDSURFACEDESC2& description) {
    if (context.primary.lock() != nullptr) return DDERR_PRIMARYSURFACEALREADYEXISTS;
    DWORD caps = description.ddsCaps.dwCaps;
    if (!(caps & DDSCAPS_FLIP)) return DD_OK;
    if (!(caps & DDSCAPS_COMPLEX) || !(description.dwFlags & DDSD_BACKBUFFERCOUNT)) return DDERR_INVALIDCAPS;
    if (description.dwBackBufferCount == 0) return DDERR_INVALIDPARAMS;
    if (description.dwBackBufferCount > 1) return DDERR_UNSUPPORTED;  // one back buffer is all we keep
    if (!context.exclusive) return DDERR_NOEXCLUSIVEMODE;
    return DD_OK;
}

HRESULT createPrimary(const std::shared_ptr<DisplayContext>& context, const DDSURFACEDESC2& description,
                      SurfaceObject** surface) {
    if (HRESULT refused = checkFlipChain(*context, description); FAILED(refused)) return refused;
    DWORD caps = description.ddsCaps.dwCaps;
    SurfaceShape shape{caps | DDSCAPS_FRONTBUFFER | DDSCAPS_VISIBLE | videoMemory, 0, context->mode.width,
                       context->mode.height, displayPixelFormat(context->mode.bitsPerPixel)};
    bool inMemory = context->driver->lockableRenderTargets();
    if (caps & DDSCAPS_FLIP) {
        if (HRESULT refused = context->driver->createFlipChain(shape.width, shape.height); FAILED(refused))
            return refused;
    }
    SurfaceObject* primary = newSurface(context, shape, inMemory);
    if (caps & DDSCAPS_FLIP) {
        SurfaceShape back = shape;
        back.caps = DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX | (caps & DDSCAPS_3DDEVICE) | videoMemory;
        primary->adopt(newSurface(context, back, inMemory));
    }
    context->primary = SurfaceObject::storeOf(primary, *context);
    *surface = primary;
    return DD_OK;
}

HRESULT createZBuffer(const std::shared_ptr<DisplayContext>& context, const DDSURFACEDESC2& description,
                      SurfaceObject** surface) {
    if (HRESULT refused = checkSize(description, context->driver->maximumTextureSize()); FAILED(refused))
        return refused;
    std::optional<DDPIXELFORMAT> format = findZBufferFormat(context->driver->zBufferFormats(), description);
    if (!format) return DDERR_INVALIDPIXELFORMAT;
    SurfaceShape shape{description.ddsCaps.dwCaps | videoMemory, 0, description.dwWidth, description.dwHeight, *format};
    *surface = newSurface(context, shape, context->driver->lockableRenderTargets());
    return DD_OK;
}

HRESULT createTexture(const std::shared_ptr<DisplayContext>& context, const DDSURFACEDESC2& description,
                      SurfaceObject** surface) {
    if (HRESULT refused = checkSize(description, context->driver->maximumTextureSize()); FAILED(refused))
        return refused;
    std::optional<DDPIXELFORMAT> format =
        findFormat(context->driver->textureFormats(), requestedFormat(*context, description));
    if (!format) return DDERR_INVALIDPIXELFORMAT;
    SurfaceShape shape{description.ddsCaps.dwCaps, description.ddsCaps.dwCaps2, description.dwWidth,
                       description.dwHeight, *format};
    *surface = newSurface(context, shape, true);
    return DD_OK;
}

HRESULT createPlain(const std::shared_ptr<DisplayContext>& context, const DDSURFACEDESC2& description,
                    SurfaceObject** surface) {
    if (HRESULT refused = checkSize(description, context->driver->maximumTextureSize()); FAILED(refused))
        return refused;
    DDPIXELFORMAT format = requestedFormat(*context, description);
    if (!(format.dwFlags & DDPF_RGB) || format.dwRGBBitCount % 8 != 0 || format.dwRGBBitCount == 0)
        return DDERR_INVALIDPIXELFORMAT;
    SurfaceShape shape{description.ddsCaps.dwCaps, description.ddsCaps.dwCaps2, description.dwWidth,
                       description.dwHeight, format};
    *surface = newSurface(context, shape, true);
    return DD_OK;
}

}  // namespace

HRESULT createSurface(const std::shared_ptr<DisplayContext>& context, const DDSURFACEDESC2& description,
                      SurfaceObject** surface) {
    if (!(description.dwFlags & DDSD_CAPS)) return DDERR_INVALIDPARAMS;
    DWORD caps = description.ddsCaps.dwCaps;
    if (caps & DDSCAPS_PRIMARYSURFACE) return createPrimary(context, description, surface);
    if (caps & DDSCAPS_ZBUFFER) return createZBuffer(context, description, surface);
    if (caps & DDSCAPS_TEXTURE) return createTexture(context, description, surface);
    if (caps & (DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE)) return createPlain(context, description, surface);
    return DDERR_INVALIDCAPS;
}

}  // namespace platform
