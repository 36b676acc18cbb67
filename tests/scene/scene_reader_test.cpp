#include "scene/scene_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "tests/support/scene_files.h"
#include "tools/image_writers/image_writers.h"

using testing::ExitedWithCode;
using testing::HasSubstr;
using testing_support::DebugOutputCapture;
using testing_support::emptyFile;
using testing_support::freeCamera;
using testing_support::meshNamed;
using testing_support::objectNamed;
using testing_support::plainMaterialSet;
using testing_support::SceneFileTest;
using testing_support::targetCamera;
using testing_support::triangleMesh;

namespace {

class SceneReading : public SceneFileTest {};

// A textured triangle on set 0 with texture coordinates and two position keys,
// an untextured child without vertices, and a target camera with a roll track.
kvs::SceneFile sampleFile() {
    kvs::SceneFile file;
    file.name = "demo";
    file.lastFrame = 2;
    file.environment = {0x00, "", {0.1f, 0.2f, 0.3f}, {0.2f, 0.2f, 0.2f}};
    file.fog = {0x01, 100.0f, 2000.0f, 0.0f};
    file.materialSets = {plainMaterialSet(2)};
    kvs::Mesh box = triangleMesh("box", {1, 2, 3}, {4, 5, 6}, {7, 8, 9});
    box.textured = true;
    box.faces[0].subMaterial = 1;
    box.textureVertices = {{0.0f, 0.25f}, {0.5f, 0.75f}, {1.0f, 0.125f}};
    box.textureFaces = {{2, 0, 1}};
    box.animation = kvs::Animation::sampledTracks({{0, {1, 2, 3}}, {320, {4, 5, 6}}});
    file.meshes = {box, meshNamed("lid", "box")};
    kvs::Camera camera = targetCamera("cam", "cam.target");
    camera.animation = kvs::Animation::sampledTracks({}, {{0, {0.5f}}, {160, {1.0f}}, {320, {1.5f}}});
    file.cameras = {camera};
    return file;
}

}  // namespace

TEST(SceneFileLayout, RecordsHaveTheSizesOfTheFormat) {
    EXPECT_EQ(kvs::sceneFileBytes(emptyFile(1)).size(), 41u) << "magic, name, seven integers, flags, count";
    EXPECT_EQ(kvs::sceneFileBytes(emptyFile(2)).size(), 42u) << "one fog flags byte more";
    kvs::Mesh mesh = triangleMesh("abc", {}, {}, {});
    mesh.textured = true;
    EXPECT_EQ(kvs::KvsWriter().mesh(mesh).size(), 134u);
    EXPECT_EQ(kvs::KvsWriter().camera(freeCamera("cam", {1.0f})).size(), 81u);
    EXPECT_EQ(kvs::KvsWriter().fieldOfView({1, 2, 3}).size(), 28u);
}

TEST_F(SceneReading, LogsAndTracesEveryStepInOrder) {
    DebugOutputCapture debug;
    const kvs::SceneFile file = sampleFile();
    kvs::KvsWriter prefix;
    prefix.magic(2).header(file, 2, 1).environment(file.environment).fog(file.fog).materialSection(file.materialSets);
    prefix.mesh(file.meshes[0]).mesh(file.meshes[1]).uint8(1).objectHeader(file.cameras[0].header);
    prefix.objectHeader(file.cameras[0].targetHeader);
    char rollEnd[16];
    std::snprintf(rollEnd, sizeof rollEnd, "%zx", prefix.size() + 1 + 1 + 4 + 3 * 8);
    load(file);
    EXPECT_EQ(logAfterStartLine(),
              "-----------------------\nLoading File\n-----------------------\n\n"
              "Reading kvor File :" +
                  path +
                  "\nkvor002\nbox\nnbVertex : 3\nReading Sample Pos with 2 keys\n"
                  "boxlid\nnbVertex : 0\nTarget Camera\ncam\ncam.target\nreading pos animation\n"
                  "Reading Sample rot with 3 keys\n" +
                  rollEnd +
                  "\nreading target animation\n"
                  "Nombre de parametres : 1\nFOV at time 0 : 0.800000\n"
                  "lid hierarchised on box\nNumber of hierarchised object : 1-1\n"
                  "ambiant : 0.200000 0.200000 0.200000 \n");
    EXPECT_EQ(debug.text(),
              "demo\nbox\nobjet textur\xE9\nreading a sampleDumped Anim\ninterpolation en SamplePos\n"
              "lid\nbox\ncam\ncam.target\nreading a sampleDumped Anim\nTrack de rotation en sample\n"
              "interpolation en SampleRot\nexport All Frame detectprocessHierarchy\nCamera Found!\n");
    EXPECT_EQ(objectNames(), (std::vector<std::string>{"cam.target", "box", "cam", "lid"}));
    EXPECT_EQ(scene->activeCamera->name, "cam");
}

TEST_F(SceneReading, TextureCountsAboveOneHundredAndTwentySevenCountAsNone) {
    kvs::SceneFile file = emptyFile(2);
    const std::vector<uint8_t> start = kvs::sceneFileBytes(file);
    kvs::KvsWriter bytes;
    bytes.chars(std::string(start.begin(), start.end() - 4)).int32(1).int32(1);
    bytes.point({}).point({}).point({}).float32(0.0f).uint8(0).uint8(0x80);
    loadBytes(bytes.bytes());
    EXPECT_EQ(scene->materials->material(0, 0)->texture, nullptr);
}

TEST_F(SceneReading, FacesReferToTheWorkingVerticesAndTheirSetsMaterials) {
    kvs::SceneFile file = sampleFile();
    kvs::Mesh plain = triangleMesh("plain", {1, 2, 3}, {0, 0, 0}, {0, 0, 0});
    plain.spareFlag4 = true;
    plain.faces[0].subMaterial = 9;  // ignored without a texture
    file.meshes = {file.meshes[0], plain};
    file.meshes[0].spareFlag3 = true;
    load(file);
    const Mesh& box = *named<Mesh>("box");
    const Mesh& flat = *named<Mesh>("plain");
    EXPECT_EQ(box.textured, 1);
    EXPECT_EQ(box.spareFlag3 + 2 * box.spareFlag4, 1);
    EXPECT_EQ(flat.spareFlag3 + 2 * flat.spareFlag4, 2);
    const Face& face = box.faces[0];
    EXPECT_EQ(face.corners[2], &box.vertices[2]);
    EXPECT_EQ(face.material, scene->materials->material(0, 1));
    EXPECT_EQ(std::vector<float>(face.u, face.u + 3), (std::vector<float>{1.0f, 0.0f, 0.5f}));
    EXPECT_EQ(std::vector<float>(face.v, face.v + 3), (std::vector<float>{0.125f, 0.25f, 0.75f}));
    EXPECT_EQ(flat.faces[0].material, nullptr);
    EXPECT_EQ(flat.faces[0].u[1], 0.0f) << "no coordinates in the file";
}

TEST_F(SceneReading, CamerasKeepTheRollOnlyWhenTheyHaveATarget) {
    kvs::SceneFile file = sampleFile();
    kvs::Camera loose = freeCamera("loose", {0.5f, 0.6f, 0.7f});
    loose.animation = kvs::Animation::sampledTracks({{0, {1, 2, 3}}}, {{0, {0.25f}}});
    file.cameras.push_back(loose);
    file.cameras.push_back(targetCamera("still", "still.target", {}));
    load(file);
    auto* cam = named<TargetCamera>("cam");
    ASSERT_NE(cam, nullptr);
    EXPECT_EQ(cam->rollTrack, (RollTrack{0.5f, 1.0f, 1.5f}));
    EXPECT_EQ(cam->target, named<CameraTarget>("cam.target"));
    const Camera& free = *named<Camera>("loose");
    EXPECT_EQ(dynamic_cast<const TargetCamera*>(&free), nullptr) << "a free camera has no roll";
    EXPECT_EQ(free.fieldOfView, (std::vector<float>{0.5f, 0.6f, 0.7f}));
    auto* still = named<TargetCamera>("still");
    EXPECT_TRUE(still->rollTrack.empty());
    EXPECT_EQ(still->fieldOfView, (std::vector<float>{1.57f})) << "the default camera's angle for an empty list";
    EXPECT_THAT(logAfterStartLine(), HasSubstr("Nombre de parametres : 0\nFOV at time 0 : 1.570000\n"));
}
