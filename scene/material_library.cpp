#include "scene/material_library.h"

#include "image/file_name.h"

Material::Material() : d3dMaterial{} {
    d3dMaterial.ambient.r = 1.0f;
    d3dMaterial.ambient.g = 1.0f;
    d3dMaterial.ambient.b = 1.0f;
}

namespace {

void setColour(D3DCOLORVALUE& target, const Vector3& colour) {
    target.r = colour.x;
    target.g = colour.y;
    target.b = colour.z;
}

}  // namespace

void Material::assign(MaterialLibrary&, const char* textureName, uint8_t newFlags, float newOpacity,
                      const Vector3& ambient, const Vector3& diffuse, const Vector3& specular) {
    flags = newFlags;
    opacity = newOpacity;
    setColour(d3dMaterial.ambient, ambient);
    setColour(d3dMaterial.diffuse, diffuse);
    setColour(d3dMaterial.specular, specular);
    if (textureName == nullptr) return;
    texture = std::make_unique<Texture>(textureName);
    texture->load(opacity);
    // A zkv carries its own alpha plane: the material is half transparent
    // whatever the file says, so that its faces go to the blended pass.
    if (FileName(textureName).extension == "zkv") opacity = 0.5f;
}

void MaterialLibrary::reserveSets(int32_t count) {
    setCount = count > 0 ? count : 0;
    sets.clear();
    sets.resize(static_cast<size_t>(setCount));
}

void MaterialLibrary::createSet(int32_t index, int32_t count) {
    if (index < 0 || index >= setCount) return;
    sets[static_cast<size_t>(index)] = std::make_unique<MaterialSet>(static_cast<size_t>(count > 0 ? count : 0));
}

Material* MaterialLibrary::material(int32_t index, int32_t sub) {
    if (index < 0 || index >= setCount || !sets[static_cast<size_t>(index)]) return nullptr;
    MaterialSet& set = *sets[static_cast<size_t>(index)];
    if (sub < 0 || static_cast<size_t>(sub) >= set.size()) return nullptr;
    return &set[static_cast<size_t>(sub)];
}

void MaterialLibrary::assignMaterial(int32_t index, int32_t sub, const char* textureName, uint8_t flags, float opacity,
                                     const Vector3& ambient, const Vector3& diffuse, const Vector3& specular) {
    if (Material* target = material(index, sub))
        target->assign(*this, textureName, flags, opacity, ambient, diffuse, specular);
}
