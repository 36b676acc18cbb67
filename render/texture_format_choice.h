#pragma once
// How setUp picks the texture and z-buffer pixel formats the device offers.

#include "platform/directx.h"

// Fills textureFormat with the first 16-bit RGB format without alpha; a device
// without one is a fatal stop. Logs which layout was found.
void chooseTextureFormat(IDirect3DDevice7* device);
// Fills alphaTextureFormat with the first ARGB4444 or 32-bit alpha format, or
// logs that there is none.
void chooseAlphaTextureFormat(IDirect3DDevice7* device);
// The callback of EnumZBufferFormats: context is the wanted DDPIXELFORMAT,
// overwritten by the first format of the same depth.
HRESULT CALLBACK takeZBufferFormatOfDepth(LPDDPIXELFORMAT format, LPVOID context);
