// Camera placement, with expected rotations worked out by hand from the
// look-at construction (rows: right, down, view direction).

#include "render/camera_update.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

using Rows = std::array<std::array<float, 3>, 3>;

void expectRotation(const Matrix4& rotation, const Rows& expected, const char* what) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(rotation.m[i][j], expected[i][j], 1e-6) << what << " [" << i << "][" << j << "]";
}

struct TargetRig {
    TargetRig(Vector3 eye, Vector3 looked) {
        camera.kind = kindTargetCamera;
        camera.restPosition = eye;
        camera.rotation.setIdentity();
        target.kind = kindCameraTarget;
        target.restPosition = looked;
        camera.target = &target;
    }
    TargetCamera camera;
    CameraTarget target;
};

}  // namespace

TEST(CameraUpdate, TargetCameraLooksAtItsTarget) {
    struct Case {
        const char* what;
        Vector3 eye, looked;
        Rows expected;
    };
    const Case cases[] = {
        {"along +z", {0, 0, -5}, {0, 0, 0}, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
        {"along +x", {0, 0, 0}, {3, 0, 0}, {{{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}}},
        {"straight above", {0, 0, 0}, {0, 10, 0}, {{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}}},
        {"straight below", {0, 0, 0}, {0, -10, 0}, {{{0, 0, 1}, {-1, 0, 0}, {0, -1, 0}}}},
        {"on itself: nothing to normalise", {1, 1, 1}, {1, 1, 1}, {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}}},
    };
    for (const Case& c : cases) {
        TargetRig rig(c.eye, c.looked);
        updateCamera(rig.camera, 0);
        expectRotation(rig.camera.rotation, c.expected, c.what);
        EXPECT_EQ(rig.camera.position.z, c.eye.z) << c.what;
    }
}

TEST(CameraUpdate, RollTurnsTheViewAboutItsAxis) {
    TargetRig rig({0, 0, -5}, {0, 0, 0});
    rig.camera.rollTrack = {0.0f, std::numbers::pi_v<float> / 2};
    updateCamera(rig.camera, 0);
    expectRotation(rig.camera.rotation, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, "roll 0");
    updateCamera(rig.camera, 1);
    expectRotation(rig.camera.rotation, {{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}}, "a quarter turn");
    const Vector3 right = Vector3{1, 0, 5}.transformed(rig.camera.rotation);
    EXPECT_NEAR(right.x, 0.0f, 1e-6);
    EXPECT_NEAR(right.y, 1.0f, 1e-6);
}
