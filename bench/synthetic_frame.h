#pragma once
// A frame like the demo's, the same for every way of drawing it: 1,800 opaque
// textured triangles in batches of at most 498 vertices, 200 alpha-blended
// ones, three additive title quads, linear fog.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/directx.h"

namespace bench {

// D3DFVF_VERTEX: camera-space position, normal, texture coordinates.
struct SceneVertex {
    float x, y, z, nx, ny, nz, tu, tv;
};

// RGB565, or ARGB4444 when alpha is set; rows packed.
struct Texels {
    uint32_t width, height;
    bool alpha;
    std::vector<uint16_t> pixels;
};

struct Batch {
    size_t texture;  // index into SyntheticFrame::textures
    std::vector<SceneVertex> vertices;
};

struct SyntheticFrame {
    std::vector<Texels> textures;
    std::vector<Batch> opaque;
    std::vector<Batch> transparent;
    std::array<std::array<D3DTLVERTEX, 4>, 3> overlays;
    std::array<size_t, 3> overlayTextures;
    std::array<WORD, 6> overlayIndices = {0, 1, 2, 0, 2, 3};
    float fogStart = 100.0f, fogEnd = 900.0f;
    D3DCOLOR fogColour = 0x00003039;

    size_t triangles() const;
    size_t drawCalls() const { return opaque.size() + transparent.size() + overlays.size(); }
};

SyntheticFrame makeSyntheticFrame();

}  // namespace bench
