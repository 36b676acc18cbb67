// Camera-space vertices, with expected values worked out by hand.

#include "render/mesh_transform.h"

#include <gtest/gtest.h>

namespace {

// Looks along +z from (0, 0, -5): camera space is world space moved by +5 in z.
Camera cameraOnZ() {
    Camera camera;
    camera.position = {0, 0, -5};
    camera.rotation.setIdentity();
    return camera;
}

Mesh meshAt(Vector3 pivot, std::vector<Vector3> vertices) {
    Mesh mesh;
    mesh.restPosition = pivot;
    mesh.allocateVertices(static_cast<int32_t>(vertices.size()));
    mesh.baseVertices = std::move(vertices);
    return mesh;
}

void expectVertex(const Vector3& actual, const Vector3& expected, const char* what) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-5) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-5) << what;
}

// A quarter turn about y: x goes to -z, z to x.
const Quaternion quarterTurnAboutY{0.0f, 0.70710678f, 0.0f, 0.70710678f};

}  // namespace

TEST(MeshTransform, WithoutTracksOnlyTheCameraMovesTheVertices) {
    Mesh mesh = meshAt({100, 100, 100}, {{1, 2, 0}, {-1, 0, 3}});
    Camera camera = cameraOnZ();
    transformMesh(mesh, 0, camera);
    expectVertex(mesh.vertices[0], {1, 2, 5}, "the pivot plays no part");
    expectVertex(mesh.vertices[1], {-1, 0, 8}, "second vertex");
    camera.rotation.m[0][0] = 0;  // the camera turned a quarter about z
    camera.rotation.m[0][1] = -1;
    camera.rotation.m[1][0] = 1;
    camera.rotation.m[1][1] = 0;
    transformMesh(mesh, 0, camera);
    expectVertex(mesh.vertices[0], {-2, 1, 5}, "turned with the camera");
    expectVertex(mesh.baseVertices[0], {1, 2, 0}, "the stored vertices stay");
}

TEST(MeshTransform, PositionTrackMovesThePivotToTheFramePosition) {
    Mesh mesh = meshAt({1, 1, 1}, {{1, 2, 1}});
    mesh.positionTrack = {{1, 1, 1}, {3, 1, 0}};
    transformMesh(mesh, 0, cameraOnZ());
    expectVertex(mesh.vertices[0], {1, 2, 6}, "at rest: drawn as stored");
    transformMesh(mesh, 1, cameraOnZ());
    expectVertex(mesh.vertices[0], {3, 2, 5}, "moved by (2, 0, -1)");
}

TEST(MeshTransform, RotationTrackTurnsAboutThePivotThenMoves) {
    Mesh mesh = meshAt({10, 0, 0}, {{11, 0, 0}, {10, 0, 1}});
    mesh.rotationTrack = {{0, 0, 0, 1}, quarterTurnAboutY};
    transformMesh(mesh, 0, cameraOnZ());
    expectVertex(mesh.vertices[0], {11, 0, 5}, "the identity quaternion");
    transformMesh(mesh, 1, cameraOnZ());
    expectVertex(mesh.vertices[0], {10, 0, 4}, "x goes to -z about the pivot");
    expectVertex(mesh.vertices[1], {11, 0, 5}, "z goes to x about the pivot");
    mesh.positionTrack = {{0, 0, 0}, {20, 0, 0}};
    transformMesh(mesh, 1, cameraOnZ());
    expectVertex(mesh.vertices[0], {20, 0, 4}, "then the pivot moves to the frame position");
}
