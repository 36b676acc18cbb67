#include "base/plain_texture_format.h"

HRESULT CALLBACK takePlain16BitFormat(LPDDPIXELFORMAT format, LPVOID context) {
    if (format->dwFlags & (unusableFormatKinds | DDPF_ALPHAPIXELS)) return D3DENUMRET_OK;
    if (format->dwFourCC != 0 || format->dwRGBBitCount != 16) return D3DENUMRET_OK;
    *static_cast<DDPIXELFORMAT*>(context) = *format;
    return D3DENUMRET_CANCEL;
}
