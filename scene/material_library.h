#pragma once
// The scene's materials: numbered sets of materials, each material with its own
// texture.

#include <cstdint>
#include <memory>
#include <vector>

#include "image/texture.h"
#include "math/vector3.h"
#include "platform/directx.h"

class MaterialLibrary;

class Material {
public:
    Material();

    // The values of the file; a texture name gives the material a texture of
    // its own, never shared with another material.
    void assign(MaterialLibrary& library, const char* textureName, uint8_t flags, float opacity, const Vector3& ambient,
                const Vector3& diffuse, const Vector3& specular);

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
    // Colours are red, green, blue in x, y, z; textureName may be null.
    void assignMaterial(int32_t index, int32_t sub, const char* textureName, uint8_t flags, float opacity,
                        const Vector3& ambient, const Vector3& diffuse, const Vector3& specular);
    // The material, or null when index or sub names none.
    Material* material(int32_t index, int32_t sub);

    IDirectDraw7* display;
    std::vector<std::unique_ptr<MaterialSet>> sets;  // a set not created yet is null
    int32_t setCount = 0;
};
