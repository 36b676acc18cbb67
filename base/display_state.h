#pragma once
// The display's process-wide values besides the DirectDraw object and the
// device (base/process_state.h): set by Renderer::setUp, read by the frame
// cycle, the texture surfaces and the overlays.

#include <cstdint>

#include "platform/directx.h"
#include "platform/win32.h"

// The mode the display was set to, copied from the requested one by setUp.
struct DisplaySize {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitDepth = 0;
};

extern DisplaySize displaySize;
extern HWND renderWindow;  // the "D3D Window"
extern IDirect3DVertexBuffer7* vertexBuffer;
extern uint32_t flipFlags;  // DDFLIP_WAIT, or DDFLIP_NOVSYNC | DDFLIP_DONOTWAIT
// The first 16-bit RGB format without alpha the device offers; all zero until setUp.
extern DDPIXELFORMAT textureFormat;
// ARGB4444 or a 32-bit alpha format; stays all zero when the device has neither.
extern DDPIXELFORMAT alphaTextureFormat;
