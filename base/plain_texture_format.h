#pragma once
// The opaque texture format: what the renderer's set-up looks for in the
// device's list to fill textureFormat, and what the overlays log.

#include "platform/directx.h"

// Formats that hold no colour a texture can use.
constexpr DWORD unusableFormatKinds = DDPF_LUMINANCE | DDPF_BUMPLUMINANCE | DDPF_BUMPDUDV;  // 0xE0000

// The callback of EnumTextureFormats that takes the first 16-bit RGB format
// with no alpha, no FourCC and no luminance or bump map into context, a
// DDPIXELFORMAT: 5-5-5 is not passed over for 5-6-5.
HRESULT CALLBACK takePlain16BitFormat(LPDDPIXELFORMAT format, LPVOID context);
