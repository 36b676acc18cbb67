#pragma once
// What the platform layer provides on systems other than Windows: every Win32,
// DirectDraw and Direct3D entry point the engine may call, with the real
// signatures. The engine reaches this header only through platform/win32.h and
// platform/directx.h; it never sees how the layer is built.

#include "platform/directx_types.h"
#include "platform/win32_types.h"

// ---- Process ---------------------------------------------------------------
// Defined by the engine; the layer's main() calls it with the instance handle
// and the command line (the arguments after the program name, joined by blanks).
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);

// ---- Kernel ----------------------------------------------------------------
DWORD WINAPI GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer);
BOOL WINAPI SetCurrentDirectoryA(LPCSTR pathName);
void WINAPI GetLocalTime(LPSYSTEMTIME systemTime);
// Standard error when KVOR_DEBUG_OUTPUT is set; always the hook of platform/hooks.h.
void WINAPI OutputDebugStringA(LPCSTR text);

// ---- User ------------------------------------------------------------------
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
