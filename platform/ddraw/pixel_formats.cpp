#include "platform/ddraw/pixel_formats.h"

namespace {

DDPIXELFORMAT rgbFormat(DWORD flags, DWORD bits, DWORD red, DWORD green, DWORD blue, DWORD alpha) {
    DDPIXELFORMAT format{};
    format.dwSize = sizeof(DDPIXELFORMAT);
    format.dwFlags = flags;
    format.dwRGBBitCount = bits;
    format.dwRBitMask = red;
    format.dwGBitMask = green;
    format.dwBBitMask = blue;
    format.dwRGBAlphaBitMask = alpha;
    return format;
}

}  // namespace

DDPIXELFORMAT platform::rgb565Format() { return rgbFormat(DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0); }
DDPIXELFORMAT platform::rgb555Format() { return rgbFormat(DDPF_RGB, 16, 0x7C00, 0x03E0, 0x001F, 0); }
DDPIXELFORMAT platform::argb4444Format() {
    return rgbFormat(DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x0F00, 0x00F0, 0x000F, 0xF000);
}
DDPIXELFORMAT platform::argb1555Format() {
    return rgbFormat(DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x7C00, 0x03E0, 0x001F, 0x8000);
}
DDPIXELFORMAT platform::argb8888Format() {
    return rgbFormat(DDPF_RGB | DDPF_ALPHAPIXELS, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
}
DDPIXELFORMAT platform::xrgb8888Format() { return rgbFormat(DDPF_RGB, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0); }

DDPIXELFORMAT platform::zBufferFormat(DWORD bits) {
    DWORD mask = bits >= 32 ? 0xFFFFFFFF : (1u << bits) - 1;
    return rgbFormat(DDPF_ZBUFFER, bits, 0, mask, 0, 0);
}

DDPIXELFORMAT platform::displayPixelFormat(DWORD bitsPerPixel) {
    switch (bitsPerPixel) {
        case 8: return rgbFormat(DDPF_RGB | DDPF_PALETTEINDEXED8, 8, 0, 0, 0, 0);
        case 16: return rgb565Format();
        case 24: return rgbFormat(DDPF_RGB, 24, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
        default: return xrgb8888Format();
    }
}

bool platform::samePixelFormat(const DDPIXELFORMAT& a, const DDPIXELFORMAT& b) {
    return a.dwFlags == b.dwFlags && a.dwFourCC == b.dwFourCC && a.dwRGBBitCount == b.dwRGBBitCount &&
           a.dwRBitMask == b.dwRBitMask && a.dwGBitMask == b.dwGBitMask && a.dwBBitMask == b.dwBBitMask &&
           a.dwRGBAlphaBitMask == b.dwRGBAlphaBitMask;
}
