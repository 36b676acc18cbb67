#pragma once
// The engine's one door to DirectDraw 7 and Direct3D 7: the system's own headers
// on Windows, our platform layer elsewhere.

#ifdef _WIN32
#include <d3d.h>
#include <ddraw.h>
#else
#include "platform/layer.h"
#endif
