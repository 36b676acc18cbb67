#pragma once
// The last stage: the scene file and its textures written into a temporary
// folder beside the output and moved into place only when all are whole, so
// a failed import leaves the folder as it was.

#include <filesystem>
#include <string>

#include "tools/import/scene_convert.h"

namespace gltf_import {

// Writes DIRECTORY/NAME.kvs and the textures; throws ImportError.
void writeImport(const ImportedScene& scene, const std::filesystem::path& directory, const std::string& name);

}  // namespace gltf_import
