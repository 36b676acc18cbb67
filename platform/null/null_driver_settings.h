#pragma once
// What the null driver offers and how it answers, as its user sets it.
// Internal to the platform layer; tests set it through platform/test_seams.h.

#include <map>
#include <string>
#include <vector>

#include "platform/layer.h"

namespace platform {

struct DisplayModeSetting {
    DWORD width;
    DWORD height;
    DWORD bitsPerPixel;
};

struct NullDriverSettings {
    std::vector<DisplayModeSetting> displayModes;  // EnumDisplayModes order; SetDisplayMode takes only these
    std::vector<DDPIXELFORMAT> textureFormats;     // EnumTextureFormats order; CreateSurface takes only these
    std::vector<DDPIXELFORMAT> zBufferFormats;     // EnumZBufferFormats order
    // Method name (as in RecordedCall::method) -> the code every call of it
    // returns, after being recorded, instead of doing its work.
    std::map<std::string, HRESULT, std::less<>> failures;
    DWORD pitchAlignment = 8;  // surface rows start at multiples of this many bytes
    // Whether a draw's record keeps its vertices and indices. Timing the engine
    // on this driver turns it off: copying every vertex is not the engine's work.
    bool recordDrawnVertices = true;
};

// 640x480, 800x600 and 1024x768 at 16 and 32 bits; textures RGB565, RGB555,
// ARGB4444, ARGB1555, ARGB8888; z-buffers of 16, 24 and 32 bits.
NullDriverSettings defaultNullDriverSettings();
// The settings the DirectDraw objects created from now on take.
NullDriverSettings& nullDriverSettings();

}  // namespace platform
