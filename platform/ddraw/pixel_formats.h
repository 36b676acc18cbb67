#pragma once
// Pixel format records, the named formats and comparisons. Internal to the
// platform layer (tests build their own format lists from the named ones).

#include "platform/layer.h"

namespace platform {

DDPIXELFORMAT rgb565Format();
DDPIXELFORMAT rgb555Format();
DDPIXELFORMAT argb4444Format();
DDPIXELFORMAT argb1555Format();
DDPIXELFORMAT argb8888Format();
DDPIXELFORMAT xrgb8888Format();
DDPIXELFORMAT zBufferFormat(DWORD bits);

// The format of a display mode's surfaces: 8 bits palettised, 16 RGB565,
// 24 RGB888, 32 XRGB8888.
DDPIXELFORMAT displayPixelFormat(DWORD bitsPerPixel);
// Same layout: flags, FourCC, bit count and the four masks.
bool samePixelFormat(const DDPIXELFORMAT& a, const DDPIXELFORMAT& b);

}  // namespace platform
