#include "image/texture_surface.h"

#include <algorithm>

#include "base/checked_calls.h"
#include "base/display_state.h"
#include "base/fatal.h"
#include "base/log.h"
#include "image/pixel_conversion.h"
// Up to the renderer: a texture surface is made by the renderer's
// createTextureSurface, in the formats its set-up chose.
#include "render/renderer.h"

namespace {

using RowConversion = void (*)(std::span<const uint32_t> source, uint8_t* destination);

// Chosen by the green mask, which tells the layouts apart.
RowConversion conversionFor(const DDPIXELFORMAT& format) {
    if (format.dwFlags & DDPF_ALPHAPIXELS) {
        logWrite("copy into an alpha surface");
        if (format.dwGBitMask == 0x00F0) return convertToArgb4444;
        return format.dwGBitMask == 0xFF00 ? copyArgb32 : nullptr;
    }
    switch (format.dwGBitMask) {
        case 0x03E0: return convertToRgb555;
        case 0x07E0: return convertToRgb565;
        case 0xFF00: return copyArgb32;
        default: return nullptr;
    }
}

}  // namespace

IDirectDrawSurface7* createTexture(ImageLoader& loader) {
    const DDPIXELFORMAT format = hasAlpha(loader) ? alphaTextureFormat : textureFormat;
    IDirectDrawSurface7* surface = Renderer::createTextureSurface(format, loader.height, loader.width);
    copyPixels(loader, surface);
    loader.releasePixels();
    loader.depth = 0;
    return surface;
}

bool hasAlpha(const ImageLoader& loader) {
    if (!loader.pixels) return false;
    const uint32_t* first = loader.pixels.get();
    return std::any_of(first, first + loader.pixelCount(), [](uint32_t pixel) { return pixel > 0x00FFFFFF; });
}

void copyPixels(const ImageLoader& loader, IDirectDrawSurface7* surface) {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof description;
    checkResult(surface->Lock(nullptr, &description, DDLOCK_WRITEONLY, nullptr), "locking surface ");
    if (description.dwHeight != loader.height || description.dwWidth != loader.width) {
        logFormat("%s",
                  "Error while copying texture from \t\t\tSystem Memory to DirectDraw Surface : source and "
                  "destination does \t\t\tnot have the same size");
        fatalMessage("(Ddraw) Source and destination does not have same size");
    }
    const RowConversion convert = conversionFor(description.ddpfPixelFormat);
    auto* const surfaceBytes = static_cast<uint8_t*>(description.lpSurface);
    for (size_t row = 0; convert != nullptr && loader.pixels && row < loader.height; ++row)
        convert(std::span(loader.pixels.get() + row * loader.width, loader.width),
                surfaceBytes + static_cast<ptrdiff_t>(row) * description.lPitch);
    surface->Unlock(nullptr);
}
