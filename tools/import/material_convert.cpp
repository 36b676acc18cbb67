#include "tools/import/material_convert.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "tools/image_writers/image_writers.h"
#include "tools/import/import_error.h"

namespace gltf_import {

namespace {

constexpr uint16_t solidTextureSide = 4;
constexpr int jpegQuality = 92;

double linearFromSrgb(double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }
double srgbFromLinear(double c) {
    c = std::clamp(c, 0.0, 1.0);
    return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
}
uint32_t byteOf(double unit) { return static_cast<uint32_t>(std::lround(std::clamp(unit, 0.0, 1.0) * 255)); }

// Texels are stored in sRGB and the base colour is linear: the product is
// taken in linear light, as a glTF viewer does.
std::array<uint8_t, 256> scaledSrgb(double factor) {
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v)
        table[static_cast<size_t>(v)] =
            static_cast<uint8_t>(byteOf(srgbFromLinear(linearFromSrgb(v / 255.0) * factor)));
    return table;
}

std::string materialName(const tinygltf::Model& model, size_t index) {
    const std::string& name = model.materials[index].name;
    return "material " + (name.empty() ? std::to_string(index) : "\"" + name + "\"");
}

void reportLeftOut(const tinygltf::Material& material, const std::string& owner, ImportReport& report) {
    const auto& pbr = material.pbrMetallicRoughness;
    const auto& emissive = material.emissiveFactor;
    if (material.emissiveTexture.index >= 0 ||
        (emissive.size() == 3 && (emissive[0] > 0 || emissive[1] > 0 || emissive[2] > 0)))
        report.note(owner + ": emission not carried over");
    if (pbr.metallicRoughnessTexture.index >= 0) report.note(owner + ": metallic-roughness map not carried over");
    if (material.normalTexture.index >= 0) report.note(owner + ": normal map not carried over");
    if (material.occlusionTexture.index >= 0) report.note(owner + ": occlusion map not carried over");
    if (pbr.baseColorTexture.extensions.contains("KHR_texture_transform"))
        report.note(owner + ": KHR_texture_transform not carried over");
    if (pbr.baseColorTexture.index >= 0 && pbr.baseColorTexture.texCoord != 0)
        report.note(owner + ": base colour map on TEXCOORD_" + std::to_string(pbr.baseColorTexture.texCoord) +
                    " drawn with TEXCOORD_0");
    for (const auto& [extension, value] : material.extensions)
        report.note(owner + ": " + extension + " not carried over");
}

// The base colour's pixels, 0xAARRGGBB, before the alpha mode is applied.
image_writers::Image baseColour(const tinygltf::Model& model, const tinygltf::Material& material) {
    const std::vector<double>& f = material.pbrMetallicRoughness.baseColorFactor;
    image_writers::Image image;
    const int textureIndex = material.pbrMetallicRoughness.baseColorTexture.index;
    if (textureIndex < 0 || model.textures[static_cast<size_t>(textureIndex)].source < 0) {
        image.width = image.height = solidTextureSide;
        const uint32_t pixel = byteOf(f[3]) << 24 | byteOf(srgbFromLinear(f[0])) << 16 |
                               byteOf(srgbFromLinear(f[1])) << 8 | byteOf(srgbFromLinear(f[2]));
        image.argb.assign(size_t{solidTextureSide} * solidTextureSide, pixel);
        return image;
    }
    const tinygltf::Image& source =
        model.images[static_cast<size_t>(model.textures[static_cast<size_t>(textureIndex)].source)];
    image.width = static_cast<uint16_t>(source.width);
    image.height = static_cast<uint16_t>(source.height);
    const size_t count = static_cast<size_t>(source.width) * static_cast<size_t>(source.height);
    const size_t channels = static_cast<size_t>(source.component);
    const auto red = scaledSrgb(f[0]), green = scaledSrgb(f[1]), blue = scaledSrgb(f[2]);
    image.argb.resize(count);
    const unsigned char* p = source.image.data();
    for (size_t i = 0; i < count; ++i, p += channels) {
        // Grey images have one or two channels, the second being alpha.
        const uint8_t r = p[0], g = channels >= 3 ? p[1] : p[0], b = channels >= 3 ? p[2] : p[0];
        const uint8_t a = channels == 4 ? p[3] : channels == 2 ? p[1] : 255;
        image.argb[i] = byteOf(a / 255.0 * f[3]) << 24 | uint32_t{red[r]} << 16 | uint32_t{green[g]} << 8 | blue[b];
    }
    return image;
}

// Applies the alpha mode to the pixels; true when the material is to be
// drawn blended.
bool applyAlphaMode(const tinygltf::Material& material, image_writers::Image& image, const std::string& owner,
                    ImportReport& report) {
    const double alpha = material.pbrMetallicRoughness.baseColorFactor[3];
    if (material.alphaMode == "BLEND") return true;
    if (material.alphaMode == "MASK") {
        const uint32_t cutoff = byteOf(material.alphaCutoff);
        bool cut = false;
        for (uint32_t& pixel : image.argb) {
            const bool shown = (pixel >> 24) >= cutoff;
            cut = cut || !shown;
            pixel = (pixel & 0x00FFFFFFu) | (shown ? 0xFF000000u : 0u);
        }
        if (cut) report.note(owner + ": alpha mask drawn blended, its alpha cut to 0 or 1");
        return cut;
    }
    const uint32_t opaque = byteOf(alpha < 1 ? alpha : 1.0) << 24;
    for (uint32_t& pixel : image.argb) pixel = (pixel & 0x00FFFFFFu) | opaque;
    return alpha < 1;
}

kvs::Material sceneMaterial(const std::vector<double>& factor, const std::string& textureName, bool transparent) {
    kvs::Material made;
    const Vector3 colour{static_cast<float>(factor[0]), static_cast<float>(factor[1]), static_cast<float>(factor[2])};
    made.ambient = made.diffuse = colour;
    // Opacity 0 keeps the texture file's own alpha; 1 draws it opaque.
    made.transparency = transparent ? 1.0f : 0.0f;
    made.textureNames = {textureName};
    return made;
}

TextureFile textureFile(const image_writers::Image& image, bool transparent, bool solid, const std::string& stem) {
    if (transparent) return {stem + ".tga", image_writers::tgaTrueColour(image, 32)};
    // A solid colour keeps its exact value; a picture is smaller as JPEG, its
    // colour kept at full resolution: halved, a texture of a few dozen texels
    // smears each colour edge over the next texel.
    if (solid) return {stem + ".tga", image_writers::tgaTrueColour(image, 24)};
    return {stem + ".jpg", image_writers::jpeg(image.width, image.height, image_writers::rgbSamples(image), 3,
                                               jpegQuality, image_writers::ChromaSampling::full)};
}

void reportSampler(const tinygltf::Model& model, const tinygltf::Material& material, const std::string& owner,
                   ImportReport& report) {
    const int textureIndex = material.pbrMetallicRoughness.baseColorTexture.index;
    if (textureIndex < 0) return;
    const int sampler = model.textures[static_cast<size_t>(textureIndex)].sampler;
    if (sampler < 0) return;
    const tinygltf::Sampler& s = model.samplers[static_cast<size_t>(sampler)];
    if (s.wrapS != TINYGLTF_TEXTURE_WRAP_REPEAT || s.wrapT != TINYGLTF_TEXTURE_WRAP_REPEAT)
        report.note(owner + ": texture wrap mode not carried over, the engine repeats textures");
}

}  // namespace

ConvertedMaterials convertMaterials(const tinygltf::Model& model, const std::string& texturePrefix,
                                    ImportReport& report) {
    if (model.materials.size() >= 65535) throw ImportError("more than 65534 materials");
    ConvertedMaterials converted;
    std::vector<tinygltf::Material> materials = model.materials;
    materials.emplace_back();  // glTF's default material: opaque white
    converted.defaultMaterial = static_cast<uint16_t>(model.materials.size());
    for (size_t i = 0; i < materials.size(); ++i) {
        const tinygltf::Material& material = materials[i];
        const std::string owner = i < model.materials.size() ? materialName(model, i) : "default material";
        if (i < model.materials.size()) {
            reportLeftOut(material, owner, report);
            reportSampler(model, material, owner, report);
        }
        image_writers::Image image = baseColour(model, material);
        const bool solid = material.pbrMetallicRoughness.baseColorTexture.index < 0;
        const bool transparent = applyAlphaMode(material, image, owner, report);
        TextureFile file = textureFile(image, transparent, solid, texturePrefix + "-" + std::to_string(i));
        converted.set.materials.push_back(
            sceneMaterial(material.pbrMetallicRoughness.baseColorFactor, file.name, transparent));
        converted.textures.push_back(std::move(file));
        converted.doubleSided.push_back(material.doubleSided && !transparent);
    }
    return converted;
}

}  // namespace gltf_import
