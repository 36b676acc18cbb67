#pragma once
// What an import made, as it prints it: one line of counts, the texture
// files, then a note for each thing not carried over or changed.

#include <filesystem>
#include <string>

#include "tools/import/scene_convert.h"

namespace gltf_import {

std::string summary(const ImportedScene& scene, const std::filesystem::path& sceneFile);

}  // namespace gltf_import
