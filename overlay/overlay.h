#pragma once
// A title image drawn as one screen-space quad over the 3D frame, added to it.
// Its corners' positions and colour for every frame of its life are filled in
// advance (defaultPath, then an effect); a draw is a lookup and one call.

#include <array>
#include <cstdint>

#include "overlay/corner_table.h"
#include "platform/directx.h"

class Overlay {
public:
    // Vertices at depth 0 with rhw 1, white, specular 0; corners 0 to 3 are the
    // image's top left, bottom left, bottom right and top right.
    Overlay();
    // Releases the texture.
    virtual ~Overlay();
    Overlay(const Overlay&) = delete;
    Overlay& operator=(const Overlay&) = delete;

    // Decodes the JPEG file into the texture and logs the first plain 16-bit
    // texture format's masks: green, blue, red, alpha, bit count.
    void loadImage(const char* fileName);
    // duration entries in each of the four tables; none when duration <= 0.
    // Tables over 1 GiB in all are an out-of-memory fatal stop.
    void allocateCornerTables();
    // The centre 40 % of the screen circling 1.25 % of it, one radian a frame.
    void defaultPath();
    // Draws the quad for frame index frame when startFrame <= frame <
    // startFrame + duration, with additive blending; leaves blending off and
    // the cull mode D3DCULL_CW. Allocates nothing.
    void draw(int32_t frame);

    // The number of entries the tables hold: 0, or duration once allocated.
    int32_t entryCount() const { return static_cast<int32_t>(corners[0].size()); }

    IDirectDrawSurface7* texture = nullptr;
    int32_t duration = 0;
    int32_t startFrame = 0;
    int32_t endFrame = 0;  // set by the demo's script, not read here
    std::array<D3DTLVERTEX, 4> vertices{};
    std::array<WORD, 6> indices{0, 1, 2, 0, 2, 3};
    std::array<CornerTable, 4> corners;
};
