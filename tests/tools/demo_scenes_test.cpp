// The generated scenes as the engine loads them: small versions of the same
// builders, their textures beside them, on the null driver.

#include "tools/make_datas/demo_scenes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

#include "scene/camera.h"
#include "scene/mesh.h"
#include "tests/support/displayed_scene_files.h"
#include "tools/make_datas/motion.h"
#include "tools/make_datas/shapes.h"

namespace {

using datas::DemoScene;

class DemoSceneTest : public testing_support::DisplayedSceneFileTest {
protected:
    void loadDemo(const DemoScene& demo) {
        for (const datas::TextureFile& texture : demo.textures)
            image_writers::writeFile(directory / texture.name, texture.bytes);
        load(demo.file);
    }
    Mesh* mesh(const std::string& name) const { return named<Mesh>(name); }
};

struct SceneCase {
    const char* name;
    DemoScene (*build)(const datas::SceneSize&);
    int32_t fogMode;
    int cameraKind;
};

TEST_F(DemoSceneTest, EachSceneLoadsWithItsTexturesFogAndCamera) {
    const SceneCase cases[] = {
        {"tores", datas::toresScene, 0, 3}, {"mont", datas::montScene, 3, 2}, {"salle", datas::salleScene, 1, 3}};
    for (const SceneCase& sceneCase : cases) {
        SCOPED_TRACE(sceneCase.name);
        scene = std::make_unique<Scene>(nullptr, nullptr);
        loadDemo(sceneCase.build({24, 0.25f}));
        EXPECT_EQ(scene->frameCount, 24);
        EXPECT_EQ(scene->fogMode, sceneCase.fogMode);
        ASSERT_NE(scene->activeCamera, nullptr);
        EXPECT_EQ(scene->activeCamera->kind, sceneCase.cameraKind);
        EXPECT_FALSE(scene->meshes.empty());
        for (const Mesh* loaded : scene->meshes) {
            EXPECT_EQ(loaded->positionTrack.empty() ? 0 : loaded->positionTrack.size(), loaded->animated ? 24u : 0u)
                << loaded->name;
            for (const Face& face : loaded->faces) EXPECT_NE(face.material, nullptr) << loaded->name;
        }
    }
}

TEST_F(DemoSceneTest, ShowLengthsKeepTheOverlayTimelineAndTheShowBetweenOneAndTwoMinutes) {
    EXPECT_GE(datas::montFrameCount, 1000);   // the last title of part two ends at 1000
    EXPECT_GE(datas::salleFrameCount, 1200);  // the last title of part three runs to the end
    const double seconds = datas::showSeconds(datas::montFrameCount, datas::salleFrameCount) - 3.0;
    EXPECT_GE(seconds, 60.0);
    EXPECT_LE(seconds, 120.0);
    EXPECT_EQ(datas::showFrameCount(1500, 1800), 4795);
    EXPECT_EQ(datas::showFrameCount(0, 5), 1500);
    EXPECT_EQ(datas::showFrameCount(-3, 2), 1500);
}

TEST_F(DemoSceneTest, HallChildrenNameTheirChandelierAndStayRigidlyAttachedToIt) {
    loadDemo(datas::salleScene({40, 0.25f}));
    int children = 0;
    for (const Mesh* loaded : scene->meshes) {
        if (!loaded->parentName) continue;
        ++children;
        ASSERT_NE(loaded->parent, nullptr) << loaded->name;
        const auto* parent = dynamic_cast<const Mesh*>(loaded->parent);
        ASSERT_NE(parent, nullptr);
        ASSERT_EQ(loaded->positionTrack.size(), 40u);
        // Hung from the ring: its distance to the ring's centre never changes.
        const auto distance = [&](size_t frame) {
            const Vector3 offset = loaded->positionTrack[frame] - parent->positionTrack[frame];
            return std::sqrt(datas::dot(offset, offset));
        };
        for (size_t frame = 0; frame < 40; ++frame) EXPECT_NEAR(distance(frame), distance(1), 0.01f) << frame;
    }
    EXPECT_EQ(children, 10);
}

TEST_F(DemoSceneTest, ScenesTheShowStartsAtFrameOneWrapWithoutAJump) {
    // The flight's last frame drawn is frame 0 after the wrap: it continues the path.
    const DemoScene mont = datas::montScene({50, 0.25f});
    const auto& keys = mont.file.cameras.front().animation.tracks.front().positions;
    ASSERT_EQ(keys.size(), 50u);
    const float lastStep = keys[0].value.z - keys[49].value.z;
    const float usualStep = keys[49].value.z - keys[48].value.z;
    EXPECT_GT(lastStep, 0.0f);
    EXPECT_NEAR(lastStep, usualStep, usualStep * 0.5f);
}

TEST(DemoSceneMotion, TimelineMomentsAndKeyTimes) {
    const datas::Timeline fromZero{5, 160, false}, fromOne{5, 160, true};
    const float expectedFromZero[] = {0, 1, 2, 3, 4}, expectedFromOne[] = {4, 0, 1, 2, 3};
    for (int32_t frame = 0; frame < 5; ++frame) {
        EXPECT_EQ(fromZero.moment(frame), expectedFromZero[frame]);
        EXPECT_EQ(fromOne.moment(frame), expectedFromOne[frame]);
    }
    const auto keys = datas::positionKeys(fromOne, [](float moment) { return Vector3{moment, 0, 0}; });
    ASSERT_EQ(keys.size(), 5u);
    EXPECT_EQ(keys[3].time, 480);
    EXPECT_EQ(keys[0].value.x, 4.0f);
}

TEST(DemoSceneMotion, QuaternionsComposeAndTurnPoints) {
    const Quaternion quarterUp = datas::axisAngle({0, 1, 0}, std::numbers::pi_v<float> / 2);
    const Vector3 turned = datas::rotated(quarterUp, {1, 0, 0});
    // A quarter turn about y takes x to -z with the engine's rotation matrices.
    EXPECT_NEAR(turned.x, 0.0f, 1e-6f);
    EXPECT_NEAR(turned.z, -1.0f, 1e-6f);
    const Quaternion half = datas::followedBy(quarterUp, quarterUp);
    const Vector3 twice = datas::rotated(half, {1, 0, 0});
    EXPECT_NEAR(twice.x, -1.0f, 1e-6f);
    const Quaternion thenX = datas::followedBy(quarterUp, datas::axisAngle({1, 0, 0}, std::numbers::pi_v<float> / 2));
    const Vector3 composed = datas::rotated(thenX, {1, 0, 0});
    // x -> -z by the first, then -z -> y by the quarter turn about x.
    EXPECT_NEAR(composed.y, 1.0f, 1e-6f);
}

TEST(DemoSceneMotion, FreeCameraRotationBecomesTheViewAxesWhenDrawn) {
    const Vector3 right{0, 0, -1}, up{0, 1, 0}, forward{1, 0, 0};
    Matrix4 view = datas::freeCameraRotation(right, up, forward);
    view.swapXZColumns();
    const Vector3 axes[] = {right, up, forward};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(view.m[row][0], axes[row].x);
        EXPECT_EQ(view.m[row][1], axes[row].y);
        EXPECT_EQ(view.m[row][2], axes[row].z);
    }
}

// Signed volume of a closed mesh from its faces: negative when every face's
// cross product points inward, the orientation the device keeps from outside.
float signedVolume(const kvs::Mesh& mesh) {
    double volume = 0.0;
    for (const kvs::Face& face : mesh.faces) {
        const Vector3& a = mesh.vertices[static_cast<size_t>(face.a)];
        volume += datas::dot(
                      a, mesh.vertices[static_cast<size_t>(face.b)].cross(mesh.vertices[static_cast<size_t>(face.c)])) /
                  6.0;
    }
    return static_cast<float>(volume);
}

TEST(DemoSceneShapes, ClosedSolidsFaceOutwardWithTheirVolume) {
    const float pi = std::numbers::pi_v<float>;
    struct Solid {
        const char* name;
        void (*add)(datas::MeshBuilder&);
        float volume;
        float tolerance;
    };
    const Solid solids[] = {
        {"torus",
         [](datas::MeshBuilder& mesh) {
             datas::addTorus(mesh, {5, 2, 1}, 10.0f, 2.0f, 96, 48, 1.0f);
         },
         2.0f * pi * pi * 10.0f * 4.0f, 0.01f},
        {"box",
         [](datas::MeshBuilder& mesh) {
             datas::addBox(mesh, {1, 2, 3}, {3, 5, 7}, 1.0f, false);
         },
         24.0f, 1e-4f},
        {"room",
         [](datas::MeshBuilder& mesh) {
             datas::addBox(mesh, {1, 2, 3}, {3, 5, 7}, 1.0f, true);
         },
         -24.0f, 1e-4f},
        {"knot", [](datas::MeshBuilder& mesh) { datas::addTorusKnot(mesh, {}, 2, 3, 20.0f, 2.0f, 400, 24, 1.0f); },
         0.0f, 0.0f},
    };
    for (const Solid& solid : solids) {
        SCOPED_TRACE(solid.name);
        datas::MeshBuilder builder("solid", 0);
        solid.add(builder);
        const kvs::Mesh mesh = builder.take();
        ASSERT_EQ(mesh.textureFaces.size(), mesh.faces.size());
        const float volume = -signedVolume(mesh);
        if (solid.tolerance > 0.0f)
            EXPECT_NEAR(volume, solid.volume, std::abs(solid.volume) * solid.tolerance);
        else
            EXPECT_GT(volume, 0.0f);
    }
}

TEST(DemoSceneShapes, SortingByMaterialKeepsEachFaceWithItsTextureCorners) {
    datas::MeshBuilder builder("sorted", 0);
    for (int k = 0; k < 6; ++k) builder.vertex({static_cast<float>(k), 0, 0}, 0, 0);
    builder.face(0, 1, 2, 2);
    builder.face(3, 4, 5, 0);
    builder.face(1, 2, 3, 2);
    builder.face(2, 3, 4, 1);
    builder.sortFacesByMaterial();
    const kvs::Mesh mesh = builder.take();
    const int32_t expected[][2] = {{3, 0}, {2, 1}, {0, 2}, {1, 2}};
    ASSERT_EQ(mesh.faces.size(), 4u);
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(mesh.faces[k].a, expected[k][0]);
        EXPECT_EQ(mesh.faces[k].subMaterial, expected[k][1]);
        EXPECT_EQ(mesh.textureFaces[k].ta, mesh.faces[k].a);
    }
}

}  // namespace
