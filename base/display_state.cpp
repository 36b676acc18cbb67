#include "base/display_state.h"

DisplaySize displaySize;
HWND renderWindow = nullptr;
IDirect3DVertexBuffer7* vertexBuffer = nullptr;
uint32_t flipFlags = 0;
DDPIXELFORMAT textureFormat = {};
DDPIXELFORMAT alphaTextureFormat = {};
