#pragma once
// The engine's one door to the Win32 API: the system's own headers on Windows,
// our platform layer elsewhere.

#ifdef _WIN32
#include <windows.h>
// The C99 printf family of MinGW-w64 (the build defines __USE_MINGW_ANSI_STDIO),
// checked as such: the system's own archetype would reject %zu.
#define KVOR_PRINTF_ARCHETYPE __MINGW_PRINTF_FORMAT
#else
#include "platform/layer.h"
#define KVOR_PRINTF_ARCHETYPE printf
#endif

#include "platform/native_path.h"
