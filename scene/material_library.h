#pragma once
// The scene's materials: numbered sets of materials, each material with its own
// texture.

#include <cstdint>
#include <memory>
#include <vector>

#include "image/texture.h"
#include "platform/directx.h"

class Material {
public:
    Material();

    uint8_t flags = 0;     // stored, not interpreted
    float opacity = 1.0f;  // below 1.0 the faces are drawn in the transparent pass
    D3DMATERIAL7 d3dMaterial;
    std::unique_ptr<Texture> texture;
};

using MaterialSet = std::vector<Material>;

class MaterialLibrary {
public:
    explicit MaterialLibrary(IDirectDraw7* display) : display(display) {}

    void reserveSets(int32_t count);
    void createSet(int32_t index, int32_t count);
    // The material, or null when index or sub names none.
    Material* material(int32_t index, int32_t sub);

    IDirectDraw7* display;
    std::vector<std::unique_ptr<MaterialSet>> sets;  // a set not created yet is null
    int32_t setCount = 0;
};
