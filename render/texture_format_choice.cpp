#include "render/texture_format_choice.h"

#include "base/display_state.h"
#include "base/fatal.h"
#include "base/log.h"
#include "base/plain_texture_format.h"

namespace {

// 4 bits of alpha on top of 16, or any 32-bit alpha format; 1-bit alpha is no use.
HRESULT CALLBACK takeAlphaFormat(LPDDPIXELFORMAT format, LPVOID context) {
    if (format->dwFlags & (unusableFormatKinds | DDPF_FOURCC)) return D3DENUMRET_OK;
    if (!(format->dwFlags & DDPF_ALPHAPIXELS)) return D3DENUMRET_OK;
    bool argb4444 = format->dwRGBBitCount == 16 && format->dwRGBAlphaBitMask == 0xF000;
    if (!argb4444 && format->dwRGBBitCount != 32) return D3DENUMRET_OK;
    *static_cast<DDPIXELFORMAT*>(context) = *format;
    return D3DENUMRET_CANCEL;
}

}  // namespace

void chooseTextureFormat(IDirect3DDevice7* device) {
    device->EnumTextureFormats(takePlain16BitFormat, &textureFormat);
    if (textureFormat.dwRGBBitCount == 0) fatalMessage("Can't find any 16bbp texture format!");
    if (textureFormat.dwGBitMask == 0x07E0)
        logWrite("found a 16bpp texture format (RGB565)");
    else
        logWrite("found a 15bpp texture format (RGB555)");
}

void chooseAlphaTextureFormat(IDirect3DDevice7* device) {
    device->EnumTextureFormats(takeAlphaFormat, &alphaTextureFormat);
    if (alphaTextureFormat.dwRGBBitCount == 0) logWrite("no color Key & alpha !!!!!");
}

HRESULT CALLBACK takeZBufferFormatOfDepth(LPDDPIXELFORMAT format, LPVOID context) {
    auto* wanted = static_cast<DDPIXELFORMAT*>(context);
    if (format->dwZBufferBitDepth != wanted->dwZBufferBitDepth) return D3DENUMRET_OK;
    *wanted = *format;
    return D3DENUMRET_CANCEL;
}
