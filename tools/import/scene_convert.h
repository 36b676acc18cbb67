#pragma once
// The third stage: a checked glTF model as a scene file and its texture files,
// in memory, with what could not be carried over.

#include <tiny_gltf.h>

#include <optional>
#include <string>
#include <vector>

#include "tools/import/import_report.h"
#include "tools/import/material_convert.h"
#include "tools/kvs/kvs_file.h"

namespace gltf_import {

struct ConvertOptions {
    std::string name;                   // the scene's name and its files' stem
    std::optional<std::string> camera;  // a node or camera name; the first camera otherwise
    kvs::Fog fog;
    Vector3 ambient{1.0f, 1.0f, 1.0f};
};

struct ImportedScene {
    kvs::SceneFile file;
    std::vector<TextureFile> textures;
    ImportReport report;
};

// Throws ImportError when the file asks for more than a scene file holds or
// names a camera it does not have.
ImportedScene convertScene(const tinygltf::Model& model, const ConvertOptions& options);

// The longest name a scene file holds, in bytes.
constexpr size_t longestName = 99;

}  // namespace gltf_import
