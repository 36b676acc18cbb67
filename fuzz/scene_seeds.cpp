// The fuzz corpus's scene files: one of every kind of record.

#include "fuzz/scene_seeds.h"

#include "fuzz/datas_archive.h"
#include "tools/image_writers/image_writers.h"
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

// A scene whose materials name a texture of every kind, in another case than
// the files beside it, which hold a 2 x 2 picture each.
void writeDatasSeeds(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    kvs::SceneFile file = everyRecord();
    kvs::MaterialSet& set = file.materialSets.front();
    set.materials[0].textureNames = {"MAPS\\Rock.TGA"};
    set.materials[1].textureNames = {"datas\\Stone.JPG"};
    kvs::Material packed;
    packed.textureNames = {"glass.ZKV"};
    set.materials.push_back(packed);
    const image_writers::Image picture{2, 2, {0xFF102030, 0x80405060, 0xFF708090, 0x00A0B0C0}};
    const std::vector<DatasEntry> entries = {
        {"tores.kvs", kvs::sceneFileBytes(file)},
        {"maps\\rock.tga", image_writers::tgaTrueColour(picture, 32)},
        {"stone.jpg", image_writers::jpeg(2, 2, image_writers::rgbSamples(picture), 3, 75)},
        {"GLASS.zkv", image_writers::gzip(image_writers::zkvBody(picture, 32, true), 6)},
    };
    image_writers::writeFile(folder / "textured.datas", packDatas(entries));
    file.version = 1;
    image_writers::writeFile(folder / "textured-v1.datas", packDatas({{"mont.kvs", kvs::sceneFileBytes(file)}}));
}
