// Camera-space vertices, with expected values worked out by hand.

#include "render/mesh_transform.h"

#include <gtest/gtest.h>

TEST(MeshTransform, TracksTurnAboutThePivotAndMoveIt) {
    // A quarter turn about y: x goes to -z, z to x.
    const Quaternion quarter{0.0f, 0.70710678f, 0.0f, 0.70710678f};
    struct Case {
        const char* what;
        PositionTrack positions;
        RotationTrack rotations;
        Vector3 expected;
    };
    // The vertex (11, 2, 0) around the pivot (10, 0, 0), seen from (0, 0, -5)
    // looking along +z: camera space is world space moved by 5 in z.
    const Case cases[] = {
        {"no track: the pivot plays no part", {}, {}, {11, 2, 5}},
        {"a position at the pivot: as stored", {{10, 0, 0}}, {}, {11, 2, 5}},
        {"a position track moves by (entry - pivot)", {{13, 0, -1}}, {}, {14, 2, 4}},
        {"a rotation turns about the pivot", {}, {quarter}, {10, 2, 4}},
        {"then moves the pivot to the frame position", {{20, 0, 0}}, {quarter}, {20, 2, 4}},
    };
    Camera camera;
    camera.position = {0, 0, -5};
    camera.rotation.setIdentity();
    for (const Case& c : cases) {
        Mesh mesh;
        mesh.restPosition = {10, 0, 0};
        mesh.allocateVertices(1);
        mesh.baseVertices[0] = {11, 2, 0};
        mesh.positionTrack = c.positions;
        mesh.rotationTrack = c.rotations;
        transformMesh(mesh, 0, camera);
        EXPECT_NEAR(mesh.vertices[0].x, c.expected.x, 1e-5) << c.what;
        EXPECT_NEAR(mesh.vertices[0].y, c.expected.y, 1e-5) << c.what;
        EXPECT_NEAR(mesh.vertices[0].z, c.expected.z, 1e-5) << c.what;
        EXPECT_EQ(mesh.baseVertices[0].x, 11.0f) << c.what << ": the stored vertex stays";
    }
}
