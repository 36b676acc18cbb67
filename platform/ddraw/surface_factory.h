#pragma once
// What IDirectDraw7::CreateSurface makes of a description: a flipping primary
// with its back buffer, a z-buffer, a texture or a plain surface.
// Internal to the platform layer.

#include <memory>

#include "platform/ddraw/surface_object.h"

namespace platform {

HRESULT createSurface(const std::shared_ptr<DisplayContext>& context, const DDSURFACEDESC2& description,
                      SurfaceObject** surface);

}  // namespace platform
