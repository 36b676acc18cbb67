#include "tools/import/scene_summary.h"

#include <cstdio>

#include "tools/import/node_motion.h"

namespace gltf_import {

std::string summary(const ImportedScene& scene, const std::filesystem::path& sceneFile) {
    const kvs::SceneFile& file = scene.file;
    size_t faces = 0;
    for (const kvs::Mesh& mesh : file.meshes) faces += mesh.faces.size();
    const int frames = file.lastFrame + 1;
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", static_cast<double>(file.lastFrame) / framesPerSecond);
    std::string text = sceneFile.string() + ": " + std::to_string(file.meshes.size()) + " objects, " +
                       std::to_string(file.cameras.size()) + " camera" + (file.cameras.size() == 1 ? "" : "s") + ", " +
                       std::to_string(faces) + " faces, " + std::to_string(frames) + " frame" +
                       (frames == 1 ? "" : "s") + " (0 to " + seconds + " s at " + std::to_string(framesPerSecond) +
                       " fps), " + std::to_string(scene.textures.size()) + " textures\n";
    text += "textures:";
    for (const TextureFile& texture : scene.textures) text += " " + texture.name;
    text += "\n";
    for (const std::string& line : scene.report.notes()) text += "note: " + line + "\n";
    return text;
}

}  // namespace gltf_import
