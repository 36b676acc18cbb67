#pragma once
// Texture surfaces on the GPU, in the pixel format they were created in: what
// Lock gave the engine is what gets sampled. Internal to the platform layer.

#include <memory>

#include "platform/ddraw/ddraw_backend.h"
#include "platform/gl/gl_context.h"
#include "platform/gl/gl_headers.h"

namespace platform {

// The formats the OpenGL drivers offer, in the order they enumerate them.
std::vector<DDPIXELFORMAT> glTextureFormats();

// Uploads store's pixels unless the GPU has them as they are now.
void uploadTexture(SurfaceStore& store, const std::shared_ptr<GlContext>& context);

// Binds store's texture to unit 0 with the stage's filters and addressing,
// uploading the pixels first when they are new or were unlocked since.
// smooth filters linearly both ways whatever the stage asks.
void bindTexture(SurfaceStore& store, const std::array<DWORD, D3D_MAXTEXTURESTAGESTATES>& stage,
                 const std::shared_ptr<GlContext>& context, bool smooth);

}  // namespace platform
