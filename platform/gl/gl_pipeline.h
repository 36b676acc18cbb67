#pragma once
// Direct3D render states that OpenGL keeps as fixed state: depth, blending,
// culling, dithering. Internal to the platform layer.

#include "platform/ddraw/ddraw_backend.h"
#include "platform/gl/gl_headers.h"

namespace platform {

void applyDepthState(const DeviceState& state);
void applyBlendState(const DeviceState& state);
void applyCullState(const DeviceState& state);

// D3DCOLOR 0xAARRGGBB as four channels from 0 to 1.
void unpackColour(D3DCOLOR colour, GLfloat channels[4]);

}  // namespace platform
