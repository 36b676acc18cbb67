#pragma once
// glTF materials as one material set of the scene file, each with a texture
// file of its own: the base colour map multiplied by the base colour, or a
// small texture of the base colour alone, since the engine draws an untextured
// face with whatever texture came before.

#include <tiny_gltf.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/import/import_report.h"
#include "tools/kvs/kvs_file.h"

namespace gltf_import {

struct TextureFile {
    std::string name;  // lower case, no directory: the engine opens JPEG files by that name
    std::vector<uint8_t> bytes;
};

struct ConvertedMaterials {
    kvs::MaterialSet set;  // glTF material i at index i, then the default material
    std::vector<TextureFile> textures;
    std::vector<bool> doubleSided;  // by index in set
    uint16_t defaultMaterial = 0;   // for primitives without a material
};

// Texture files are named PREFIX-N.jpg or PREFIX-N.tga.
ConvertedMaterials convertMaterials(const tinygltf::Model& model, const std::string& texturePrefix,
                                    ImportReport& report);

}  // namespace gltf_import
