#include "bench/bench_scene.h"

#include <cmath>

namespace bench {

namespace {

constexpr int gridColumns = 40;
constexpr int gridRows = verticesPerMesh / gridColumns;
constexpr int frameStep = 160;

// A wavy sheet of grid points around its pivot.
kvs::Mesh sheet(int index) {
    kvs::Mesh mesh;
    mesh.header.name = "sheet" + std::to_string(index);
    const Vector3 pivot{static_cast<float>(index % 10) * 30.0f, 0.0f, static_cast<float>(index / 10) * 30.0f};
    mesh.header.restPosition = pivot;
    mesh.header.position = pivot;
    mesh.textured = true;
    mesh.materialIndex = index % 4;
    for (int row = 0; row < gridRows; ++row)
        for (int column = 0; column < gridColumns; ++column)
            mesh.vertices.push_back(
                {pivot.x + column * 0.5f, pivot.y + std::sin(0.3f * (row + column)), pivot.z + row * 0.4f});
    for (int row = 0; row + 1 < gridRows; ++row)
        for (int column = 0; column + 1 < gridColumns; ++column) {
            const int corner = row * gridColumns + column;
            const auto sub = static_cast<uint16_t>((row / 8) % 2);
            mesh.faces.push_back({corner, corner + 1, corner + gridColumns, sub});
            mesh.faces.push_back({corner + 1, corner + gridColumns + 1, corner + gridColumns, sub});
        }
    return mesh;
}

// Meshes 0-19 turn and move, 20-34 only move, the rest stand still.
kvs::Animation motion(int index, const Vector3& pivot) {
    if (index >= 35) return {};
    std::vector<kvs::PositionKey> positions;
    std::vector<kvs::RotationKey> rotations;
    for (int frame = 0; frame < frameCount; ++frame) {
        const float t = static_cast<float>(frame) / frameCount * 6.2831853f;
        positions.push_back({frame * frameStep, {pivot.x, pivot.y + 5.0f * std::sin(t + index), pivot.z}});
        if (index < 20) rotations.push_back({frame * frameStep, {0.0f, std::sin(t / 2), 0.0f, std::cos(t / 2)}});
    }
    return kvs::Animation::sampledTracks(std::move(positions), std::move(rotations));
}

kvs::Camera orbitingCamera() {
    kvs::Camera camera;
    camera.cameraKind = kvs::Camera::targetKind;
    camera.header.name = "orbit";
    camera.targetHeader.name = "orbit.target";
    camera.targetHeader.restPosition = {135.0f, 0.0f, 60.0f};
    std::vector<kvs::PositionKey> path;
    for (int frame = 0; frame < frameCount; ++frame) {
        const float t = static_cast<float>(frame) / frameCount * 6.2831853f;
        path.push_back({frame * frameStep, {135.0f + 250.0f * std::cos(t), 80.0f, 60.0f + 250.0f * std::sin(t)}});
    }
    camera.animation = kvs::Animation::sampledTracks(std::move(path));
    camera.fieldOfView = {1.0f};
    return camera;
}

}  // namespace

kvs::SceneFile benchmarkScene() {
    kvs::SceneFile file;
    file.name = "benchmark";
    file.lastFrame = frameCount - 1;
    file.frameStep = frameStep;
    file.environment = {0x02, "", {}, {0.2f, 0.2f, 0.2f}};
    for (int set = 0; set < 4; ++set) {
        kvs::MaterialSet materials;
        materials.materials.resize(2);
        materials.materials[1].transparency = set == 3 ? 0.5f : 0.0f;
        file.materialSets.push_back(materials);
    }
    for (int index = 0; index < meshCount; ++index) {
        kvs::Mesh mesh = sheet(index);
        mesh.animation = motion(index, mesh.header.restPosition);
        file.meshes.push_back(std::move(mesh));
    }
    file.cameras = {orbitingCamera()};
    return file;
}

}  // namespace bench
