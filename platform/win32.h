#pragma once
// The engine's one door to the Win32 API: the system's own headers on Windows,
// our platform layer elsewhere.

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/layer.h"
#endif

#include "platform/native_path.h"
