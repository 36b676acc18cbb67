// The fuzz corpus's scene files: one of every kind of record.

#include "fuzz/scene_seeds.h"

#include "tools/kvs/kvs_writer.h"

namespace {

kvs::SceneFile everyRecord() {
    kvs::SceneFile file;
    file.name = "seed";
    file.lastFrame = 3;
    file.environment = {0x01, "sky", {}, {0.5f, 0.5f, 0.5f}};
    file.fog = {0x03, 0, 0, 25.0f};
    kvs::Material glass;
    glass.transparency = 0.5f;
    file.materialSets = {{{kvs::Material{}, glass}, std::nullopt}};
    kvs::Mesh mesh;
    mesh.header.name = "box";
    mesh.textured = true;
    mesh.vertices = {{0, 0, 5}, {1, 0, 5}, {0, 1, 5}};
    mesh.faces = {{0, 1, 2, 1}};
    mesh.textureVertices = {{0, 0}, {1, 0}, {0, 1}};
    mesh.textureFaces = {{0, 1, 2}};
    mesh.animation = kvs::Animation::sampledTracks({{0, {0, 0, 1}}, {320, {0, 0, 2}}}, {{0, {0, 0, 0, 1}}});
    kvs::Mesh child = mesh;
    child.header.name = "lid";
    child.header.parentName = "box";
    child.textured = false;
    child.animation = {};
    kvs::Camera camera;
    camera.cameraKind = kvs::Camera::targetKind;
    camera.header.name = "cam";
    camera.targetHeader.name = "aim";
    camera.animation = kvs::Animation::sampledTracks({{0, {0, 0, -5}}}, {{0, {0.5f}}});
    camera.fieldOfView = {0.8f};
    kvs::Camera loose;
    loose.header.name = "free";
    file.meshes = {mesh, child};
    file.cameras = {camera, loose};
    return file;
}

}  // namespace

void writeSceneSeeds(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    kvs::SceneFile file = everyRecord();
    kvs::saveSceneFile(file, folder / "every-record-v2.kvs");
    file.version = 1;
    kvs::saveSceneFile(file, folder / "every-record-v1.kvs");
    file.meshes.clear();
    file.cameras.clear();
    kvs::saveSceneFile(file, folder / "empty.kvs");
}
