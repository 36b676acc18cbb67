#include "overlay/overlay.h"

#include <cinttypes>
#include <cmath>
#include <new>

#include "base/display_state.h"
#include "base/fatal.h"
#include "base/log.h"
#include "base/plain_texture_format.h"
#include "base/process_state.h"
#include "image/jpeg_loader.h"
#include "image/texture_surface.h"

namespace {


// Only informative: the texture conversion makes its own choice.
void logPlainTextureFormat() {
    DDPIXELFORMAT format{};
    device->EnumTextureFormats(takePlain16BitFormat, &format);
    if (format.dwRGBBitCount == 0) return;
    logFormat("%x %x %x %x %x\n", static_cast<unsigned>(format.dwGBitMask), static_cast<unsigned>(format.dwBBitMask),
              static_cast<unsigned>(format.dwRBitMask), static_cast<unsigned>(format.dwRGBAlphaBitMask),
              static_cast<unsigned>(format.dwRGBBitCount));
}

// A corner's coordinate: a double constant plus an offset kept in long double,
// rounded once to float.
float placed(double base, long double offset) { return static_cast<float>(static_cast<long double>(base) + offset); }

}  // namespace

Overlay::Overlay() {
    constexpr std::array<std::array<float, 2>, 4> textureCorners{{{0, 0}, {0, 1}, {1, 1}, {1, 0}}};
    for (size_t k = 0; k < vertices.size(); ++k) {
        vertices[k] = D3DTLVERTEX{0.0f, 0.0f, 0.0f, 1.0f, opaqueWhite, 0, textureCorners[k][0], textureCorners[k][1]};
    }
}

// Safe after the DirectDraw object has gone, as in the demo's teardown: a
// surface keeps working until its own release.
Overlay::~Overlay() {
    if (texture != nullptr) texture->Release();
}

void Overlay::loadImage(const char* fileName) {
    JpegLoader loader;
    loader.load(fileName);
    logPlainTextureFormat();
    texture = createTexture(loader);
}

// A life as long as a scene's frame count may be is asked of memory that
// cannot be had: beyond 1 GiB for the four tables it is refused as such.
void Overlay::allocateCornerTables() {
    constexpr uint64_t budget = uint64_t{1} << 30;
    const size_t entries = duration > 0 ? static_cast<size_t>(duration) : 0;
    const uint64_t bytes = uint64_t{entries} * sizeof(CornerEntry) * corners.size();
    if (bytes > budget) {
        logFormat("corner tables of %" PRIu64 " bytes refused\n", bytes);
        fatalError(0);
    }
    try {
        for (CornerTable& table : corners) table.assign(entries, CornerEntry{0.0f, 0.0f, 0});
    } catch (const std::bad_alloc&) {
        fatalError(0);
    }
}

void Overlay::defaultPath() {
    for (int32_t j = 0; j < entryCount(); ++j) {
        const long double dx = static_cast<long double>(0.0125) * std::cos(static_cast<double>(j));
        const long double dy = static_cast<long double>(0.0125) * std::sin(static_cast<double>(j));
        const size_t at = static_cast<size_t>(j);
        corners[0][at] = {placed(0.3, dx), placed(0.3, dy), opaqueWhite};
        corners[1][at] = {placed(0.3, dx), placed(0.7, dy), opaqueWhite};
        corners[2][at] = {placed(0.7, dx), placed(0.7, dy), opaqueWhite};
        corners[3][at] = {placed(0.7, dx), placed(0.3, dy), opaqueWhite};
    }
}

void Overlay::draw(int32_t frame) {
    const int64_t age = static_cast<int64_t>(frame) - startFrame;
    if (age < 0 || age >= duration || age >= entryCount()) return;
    const size_t at = static_cast<size_t>(age);
    const float width = static_cast<float>(displaySize.width);
    const float height = static_cast<float>(displaySize.height);
    for (size_t k = 0; k < vertices.size(); ++k) {
        vertices[k].sx = width * corners[k][at].x;
        vertices[k].sy = height * corners[k][at].y;
        vertices[k].color = corners[0][at].colour;
    }
    device->SetTexture(0, texture);
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, vertices.data(), 4, indices.data(), 6, 0);
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CW);
}
