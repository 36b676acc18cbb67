#include <cmath>
#include <numbers>

#include "tools/make_datas/demo_scenes.h"
#include "tools/make_datas/motion.h"
#include "tools/make_datas/shapes.h"
#include "tools/make_datas/texture_files.h"
#include "tools/make_datas/turn.h"

namespace datas {

namespace {

constexpr int orbitingTori = 6;

enum MaterialSetIndex : int32_t { chrome, lava, gold, copper };

// Fraction of the scene's loop at a moment: every motion closes on itself.
float phase(const Timeline& timeline, float moment) { return moment / static_cast<float>(timeline.frameCount); }

kvs::Mesh centralKnot(const Timeline& timeline, float detail) {
    MeshBuilder mesh("noeud", lava);
    addTorusKnot(mesh, {}, 2, 3, 60.0f, 15.0f, steps(150, detail), steps(10, detail), 6.0f);
    mesh.setPivot({});
    kvs::Mesh knot = mesh.take();
    knot.animation = kvs::Animation::sampledTracks(
        positionKeys(timeline,
                     [&](float moment) {
                         return Vector3{0.0f, 12.0f * std::sin(phase(timeline, moment) * turn * 3.0f), 0.0f};
                     }),
        rotationKeys(timeline, [&](float moment) {
            const float t = phase(timeline, moment) * turn;
            return followedBy(axisAngle({0, 1, 0}, t * 2.0f), axisAngle({1, 0, 0.3f}, 0.35f * std::sin(t * 4.0f)));
        }));
    return knot;
}

// Tori on a circle round the knot, each spinning on its own axis.
kvs::Mesh orbitingTorus(const Timeline& timeline, float detail, int index) {
    const float offset = static_cast<float>(index) / orbitingTori * turn;
    const auto orbit = [&](float moment) {
        const float angle = offset + phase(timeline, moment) * turn;
        const float radius = 170.0f + 25.0f * std::sin(phase(timeline, moment) * turn * 5.0f + offset);
        return Vector3{radius * std::cos(angle), 30.0f * std::sin(angle * 2.0f), radius * std::sin(angle)};
    };
    MeshBuilder mesh("anneau" + std::to_string(index + 1), index % 2 == 0 ? chrome : gold);
    const Vector3 start = orbit(0.0f);
    addTorus(mesh, start, 30.0f, 9.0f, steps(32, detail), steps(10, detail), 4.0f);
    mesh.setPivot(start);
    kvs::Mesh torus = mesh.take();
    torus.animation =
        kvs::Animation::sampledTracks(positionKeys(timeline, orbit), rotationKeys(timeline, [&](float moment) {
                                          const float t = phase(timeline, moment) * turn;
                                          return followedBy(axisAngle({1, 0, 0}, t * static_cast<float>(4 + index % 3)),
                                                            axisAngle({0, 1, 0}, offset + t));
                                      }));
    return torus;
}

// Two small copper knots swinging up and down through the ring of tori.
kvs::Mesh swingingKnot(const Timeline& timeline, float detail, int index) {
    const float side = index == 0 ? 1.0f : -1.0f;
    const auto path = [&](float moment) {
        const float t = phase(timeline, moment) * turn;
        return Vector3{side * 95.0f * std::cos(t * 2.0f), side * 85.0f * std::sin(t * 3.0f),
                       side * 95.0f * std::sin(t * 2.0f)};
    };
    MeshBuilder mesh(index == 0 ? "trefle1" : "trefle2", copper);
    const Vector3 start = path(0.0f);
    addTorusKnot(mesh, start, 3, 2, 18.0f, 4.5f, steps(80, detail), steps(8, detail), 4.0f);
    mesh.setPivot(start);
    kvs::Mesh knot = mesh.take();
    knot.animation =
        kvs::Animation::sampledTracks(positionKeys(timeline, path), rotationKeys(timeline, [&](float moment) {
                                          return axisAngle({side, 1.0f, 0.5f}, phase(timeline, moment) * turn * 9.0f);
                                      }));
    return knot;
}

kvs::Camera orbitingCamera(const Timeline& timeline) {
    kvs::Camera camera;
    camera.cameraKind = kvs::Camera::targetKind;
    camera.header.name = "camera";
    camera.targetHeader.name = "camera.cible";
    camera.fieldOfView = {showFieldOfView};
    const auto path = [&](float moment) {
        const float t = phase(timeline, moment) * turn;
        const float distance = 420.0f - 110.0f * std::sin(t * 2.0f);
        return Vector3{distance * std::sin(-t), 140.0f * std::sin(t * 3.0f) + 40.0f, -distance * std::cos(t)};
    };
    camera.header.position = camera.header.restPosition = path(0.0f);
    // The roll turns the world about its own z axis before the look-at, so a
    // small one keeps the knot near the middle of the view.
    camera.animation = kvs::Animation::sampledTracks(
        positionKeys(timeline, path),
        rollKeys(timeline, [&](float moment) { return 0.15f * std::sin(phase(timeline, moment) * turn * 2.0f); }));
    camera.targetAnimation = kvs::Animation::sampledTracks(positionKeys(timeline, [&](float moment) {
        const float t = phase(timeline, moment) * turn;
        return Vector3{25.0f * std::sin(t * 5.0f), 10.0f * std::cos(t * 4.0f), 0.0f};
    }));
    return camera;
}

}  // namespace

DemoScene toresScene(const SceneSize& size) {
    const Timeline timeline{size.frameCount};
    DemoScene scene{"tores.kvs", {}, {}};
    kvs::SceneFile& file = scene.file;
    file.version = 2;
    file.name = "tores";
    file.lastFrame = size.frameCount - 1;
    file.frameStep = timeline.frameStep;
    // An environment colour and an ambient colour, no fog.
    file.environment = {0x00, "", {0.0f, 0.02f, 0.06f}, {0.3f, 0.3f, 0.3f}};
    file.materialSets = {{{texturedMaterial("Chrome.jpg")}, {}},
                         {{texturedMaterial("lave.tga")}, {}},
                         {{texturedMaterial("or.tga")}, {}},
                         {{texturedMaterial("cuivre.tga")}, {}}};
    file.meshes.push_back(centralKnot(timeline, size.detail));
    for (int index = 0; index < orbitingTori; ++index)
        file.meshes.push_back(orbitingTorus(timeline, size.detail, index));
    for (int index = 0; index < 2; ++index) file.meshes.push_back(swingingKnot(timeline, size.detail, index));
    file.cameras = {orbitingCamera(timeline)};
    // JPEG names are opened lower-cased; the scene keeps the name's own case.
    scene.textures = {jpegTexture("chrome.jpg", shadedTube(256, {0.35f, 0.45f, 0.6f}, {0.85f, 0.9f, 1.0f}, 1)),
                      tgaTexture("lave.tga", lavaTube(256, 2), 24),
                      tgaTexture("or.tga", shadedTube(256, {0.6f, 0.42f, 0.1f}, {1.0f, 0.85f, 0.4f}, 3), 32),
                      tgaTexture("cuivre.tga", shadedTube(128, {0.55f, 0.25f, 0.12f}, {0.95f, 0.6f, 0.4f}, 4), 16)};
    return scene;
}

}  // namespace datas
