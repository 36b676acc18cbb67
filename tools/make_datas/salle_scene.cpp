#include <cmath>
#include <numbers>

#include "tools/make_datas/demo_scenes.h"
#include "tools/make_datas/motion.h"
#include "tools/make_datas/shapes.h"
#include "tools/make_datas/texture_files.h"
#include "tools/make_datas/turn.h"

namespace datas {

namespace {

// The hall: x across, y up, z along, entered at z = 0.
constexpr float hallHalfWidth = 230.0f;
constexpr float hallHeight = 330.0f;
constexpr float hallNear = -150.0f;
constexpr float hallFar = 1750.0f;
constexpr float columnX = 150.0f;
constexpr int columnPairs = 8;
constexpr float walkLength = 1350.0f;

enum MaterialSetIndex : int32_t { stone, glass };
enum StoneMaterial : uint16_t { floorTile, wall, ceiling, column, plinth, bronzeMetal };
enum GlassMaterial : uint16_t { clearPane, stainedPane };

// One flat face of the room, texture repeating every tile units.
void roomFace(MeshBuilder& mesh, const Vector3& corner, const Vector3& edgeU, const Vector3& edgeV,
              const Vector3& inward, float tile, uint16_t material) {
    const float uLength = std::sqrt(dot(edgeU, edgeU)) / tile, vLength = std::sqrt(dot(edgeV, edgeV)) / tile;
    const int32_t a = mesh.vertex(corner, 0.0f, vLength);
    const int32_t b = mesh.vertex(corner + edgeU, uLength, vLength);
    const int32_t c = mesh.vertex(corner + edgeU + edgeV, uLength, 0.0f);
    const int32_t d = mesh.vertex(corner + edgeV, 0.0f, 0.0f);
    mesh.quad(a, b, c, d, inward, material);
}

kvs::Mesh hall() {
    MeshBuilder mesh("salle", stone);
    const float length = hallFar - hallNear, width = 2.0f * hallHalfWidth;
    const Vector3 low{-hallHalfWidth, 0.0f, hallNear};
    roomFace(mesh, low, {width, 0, 0}, {0, 0, length}, {0, 1, 0}, 120.0f, floorTile);
    roomFace(mesh, low + Vector3{0, hallHeight, 0}, {width, 0, 0}, {0, 0, length}, {0, -1, 0}, 115.0f, ceiling);
    roomFace(mesh, low, {0, 0, length}, {0, hallHeight, 0}, {1, 0, 0}, 165.0f, wall);
    roomFace(mesh, low + Vector3{width, 0, 0}, {0, 0, length}, {0, hallHeight, 0}, {-1, 0, 0}, 165.0f, wall);
    roomFace(mesh, low, {width, 0, 0}, {0, hallHeight, 0}, {0, 0, 1}, 165.0f, wall);
    roomFace(mesh, low + Vector3{0, 0, length}, {width, 0, 0}, {0, hallHeight, 0}, {0, 0, -1}, 165.0f, wall);
    return mesh.take();
}

// Adds the faces of another mesh under construction, all of one sub-material.
void appendFaces(MeshBuilder& mesh, const kvs::Mesh& part, uint16_t material) {
    std::vector<int32_t> indices;
    for (size_t k = 0; k < part.vertices.size(); ++k)
        indices.push_back(mesh.vertex(part.vertices[k], part.textureVertices[k].u, part.textureVertices[k].v));
    for (const kvs::Face& face : part.faces)
        mesh.face(indices[static_cast<size_t>(face.a)], indices[static_cast<size_t>(face.b)],
                  indices[static_cast<size_t>(face.c)], material);
}

kvs::Mesh columns(float detail) {
    MeshBuilder mesh("colonnes", stone);
    const int sides = steps(16, detail, 6);
    for (int pair = 0; pair < columnPairs; ++pair)
        for (float side : {-1.0f, 1.0f}) {
            const Vector3 base{side * columnX, 0.0f, 80.0f + 200.0f * static_cast<float>(pair)};
            addCylinder(mesh, base + Vector3{0, 40, 0}, 20.0f, hallHeight - 80.0f, sides, 1.0f, 2.0f, column);
            addBox(mesh, base - Vector3{34, 0, 34}, base + Vector3{34, 40, 34}, 68.0f, false, plinth);
            addBox(mesh, base + Vector3{-30, hallHeight - 40.0f, -30}, base + Vector3{30, hallHeight, 30}, 60.0f, false,
                   plinth);
            // Mouldings where the shaft meets its plinth and its capital.
            for (float y : {46.0f, hallHeight - 46.0f}) {
                MeshBuilder ring("", stone);
                addTorus(ring, base + Vector3{0, y, 0}, 22.0f, 6.0f, sides, steps(4, detail, 3), 2.0f);
                appendFaces(mesh, ring.take(), plinth);
            }
        }
    mesh.sortFacesByMaterial();
    return mesh.take();
}

// The stained-glass rose before the far wall.
kvs::Mesh rose() {
    MeshBuilder mesh("rosace", glass);
    roomFace(mesh, {-130.0f, 60.0f, hallFar - 4.0f}, {260, 0, 0}, {0, 240, 0}, {0, 0, -1}, 120.0f, stainedPane);
    return mesh.take();
}

// A chandelier: a turning bronze ring (the parent) with glass panes and a
// stained-glass core hung from it (children that follow it and spin too).
struct Chandelier {
    std::string name;
    Vector3 hang;  // the ring's centre at rest
    float phase = 0.0f;

    Quaternion ring(float t) const {
        return followedBy(axisAngle({0, 1, 0}, t * turn * 3.0f + phase),
                          axisAngle({1, 0, 0.4f}, 0.12f * std::sin(t * turn * 7.0f + phase)));
    }
    Vector3 centre(float t) const { return hang + Vector3{0.0f, 12.0f * std::sin(t * turn * 5.0f + phase), 0.0f}; }
};

kvs::Mesh chandelierRing(const Chandelier& chandelier, const Timeline& timeline, float detail) {
    MeshBuilder mesh(chandelier.name, stone);
    MeshBuilder ring("", stone);
    addTorus(ring, chandelier.hang, 62.0f, 6.0f, steps(32, detail), steps(8, detail), 8.0f);
    appendFaces(mesh, ring.take(), bronzeMetal);
    mesh.setPivot(chandelier.hang);
    kvs::Mesh bronzeRing = mesh.take();
    const auto t = [&](float moment) { return moment / static_cast<float>(timeline.frameCount); };
    bronzeRing.animation = kvs::Animation::sampledTracks(
        positionKeys(timeline, [&](float moment) { return chandelier.centre(t(moment)); }),
        rotationKeys(timeline, [&](float moment) { return chandelier.ring(t(moment)); }));
    return bronzeRing;
}

// A child hung at offset from the ring's centre, spinning about its own
// upright axis at spin turns over the scene, carried by the ring's motion.
kvs::Mesh hungChild(kvs::Mesh child, const Chandelier& chandelier, const Vector3& offset, float spin,
                    const Timeline& timeline) {
    child.header.parentName = chandelier.name;
    const Vector3 pivot = chandelier.hang + offset;
    child.header.position = child.header.restPosition = pivot;
    const auto t = [&](float moment) { return moment / static_cast<float>(timeline.frameCount); };
    child.animation = kvs::Animation::sampledTracks(
        positionKeys(
            timeline,
            [&](float moment) { return chandelier.centre(t(moment)) + rotated(chandelier.ring(t(moment)), offset); }),
        rotationKeys(timeline, [&](float moment) {
            return followedBy(axisAngle({0, 1, 0}, t(moment) * turn * spin), chandelier.ring(t(moment)));
        }));
    return child;
}

kvs::Mesh pane(const std::string& name, const Vector3& pivot) {
    MeshBuilder mesh(name, glass);
    const int32_t a = mesh.vertex(pivot + Vector3{-22, -70, 0}, 0.0f, 1.0f);
    const int32_t b = mesh.vertex(pivot + Vector3{22, -70, 0}, 1.0f, 1.0f);
    const int32_t c = mesh.vertex(pivot + Vector3{22, 0, 0}, 1.0f, 0.0f);
    const int32_t d = mesh.vertex(pivot + Vector3{-22, 0, 0}, 0.0f, 0.0f);
    mesh.quad(a, b, c, d, {0, 0, -1}, clearPane);
    return mesh.take();
}

kvs::Mesh core(const std::string& name, const Vector3& pivot, float detail) {
    MeshBuilder mesh(name, glass);
    addCylinder(mesh, pivot + Vector3{0, -90, 0}, 16.0f, 90.0f, steps(12, detail, 6), 2.0f, 1.0f, stainedPane);
    return mesh.take();
}

void addChandelier(kvs::SceneFile& file, const Chandelier& chandelier, const Timeline& timeline, float detail) {
    file.meshes.push_back(chandelierRing(chandelier, timeline, detail));
    for (int k = 0; k < 4; ++k) {
        const float angle = static_cast<float>(k) * turn / 4.0f;
        const Vector3 offset{62.0f * std::cos(angle), -6.0f, 62.0f * std::sin(angle)};
        const std::string name = chandelier.name + ".vitre" + std::to_string(k + 1);
        file.meshes.push_back(
            hungChild(pane(name, chandelier.hang + offset), chandelier, offset, static_cast<float>(5 + k), timeline));
    }
    const std::string coreName = chandelier.name + ".coeur";
    file.meshes.push_back(hungChild(core(coreName, chandelier.hang, detail), chandelier, {}, -4.0f, timeline));
}

kvs::Camera walkingCamera(const Timeline& timeline) {
    kvs::Camera camera;
    camera.cameraKind = kvs::Camera::targetKind;
    camera.header.name = "visite";
    camera.targetHeader.name = "visite.cible";
    camera.fieldOfView = {showFieldOfView};
    const auto t = [&](float moment) { return moment / static_cast<float>(timeline.frameCount - 1); };
    const auto walk = [&](float moment) {
        const float s = t(moment);
        return Vector3{55.0f * std::sin(s * turn * 1.5f), 150.0f + 25.0f * std::sin(s * turn * 2.0f),
                       walkLength * (s - std::sin(s * turn) * 0.04f)};
    };
    camera.header.position = camera.header.restPosition = walk(0.0f);
    camera.animation = kvs::Animation::sampledTracks(
        positionKeys(timeline, walk),
        rollKeys(timeline, [&](float moment) { return 0.06f * std::sin(t(moment) * turn * 3.0f); }));
    camera.targetAnimation = kvs::Animation::sampledTracks(positionKeys(timeline, [&](float moment) {
        const float s = t(moment);
        return walk(moment) +
               Vector3{170.0f * std::sin(s * turn * 2.3f), 35.0f + 50.0f * std::sin(s * turn * 1.7f), 380.0f};
    }));
    camera.targetHeader.position = camera.targetHeader.restPosition = walk(0.0f) + Vector3{0, 35, 380};
    return camera;
}

}  // namespace

DemoScene salleScene(const SceneSize& size) {
    const Timeline timeline{size.frameCount, 160, true};
    DemoScene scene{"salle.kvs", {}, {}};
    kvs::SceneFile& file = scene.file;
    file.version = 2;
    file.name = "salle";
    file.lastFrame = size.frameCount - 1;
    file.frameStep = timeline.frameStep;
    file.environment = {0x02, "", {}, {0.4f, 0.38f, 0.35f}};
    // Exponential fog; the reader scales the stored density by 0.0001. The
    // show loads this scene last, so its fog and field of view hold for all
    // three parts: light enough for the tori and the valley too.
    file.fog = {0x03, 0.0f, 0.0f, 5.0f};
    file.materialSets = {
        {{texturedMaterial("dallage.tga"), texturedMaterial("murs.tga"), texturedMaterial("plafond.tga"),
          texturedMaterial("Marbre.JPG"), texturedMaterial("granit.jpg"), texturedMaterial("bronze.tga")},
         {}},
        {{texturedMaterial("vitre.zkv"), texturedMaterial("Vitrail.ZKV")}, {}}};
    file.meshes = {hall(), columns(size.detail), rose()};
    addChandelier(file, {"lustre1", {0.0f, 245.0f, 420.0f}, 0.0f}, timeline, size.detail);
    addChandelier(file, {"lustre2", {0.0f, 245.0f, 1020.0f}, 1.3f}, timeline, size.detail);
    file.cameras = {walkingCamera(timeline)};
    scene.textures = {
        mappedTgaTexture("dallage.tga", floorTiles(256)),  tgaTexture("murs.tga", wallBlocks(256), 16),
        tgaTexture("plafond.tga", ceilingPanels(128), 32), jpegTexture("marbre.jpg", marble(256)),
        greyJpegTexture("granit.jpg", granite(128)),       tgaTexture("bronze.tga", bronze(128), 24),
        zkvTexture("vitre.zkv", glassPane(128), 32),       zkvTexture("Vitrail.ZKV", stainedGlass(256), 16)};
    return scene;
}

}  // namespace datas
