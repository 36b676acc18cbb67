#pragma once
// Pixel format records and comparisons. Internal to the platform layer; the
// named formats themselves are in platform/hooks.h.

#include "platform/hooks.h"

namespace platform {

// The format of a display mode's surfaces: 8 bits palettised, 16 RGB565,
// 24 RGB888, 32 XRGB8888.
DDPIXELFORMAT displayPixelFormat(DWORD bitsPerPixel);
// Same layout: flags, FourCC, bit count and the four masks.
bool samePixelFormat(const DDPIXELFORMAT& a, const DDPIXELFORMAT& b);

}  // namespace platform
