#include "render/camera_update.h"

#include <cmath>

#include "render/track_value.h"

namespace {

// Rows of the result: right, down (the negated up), direction of view.
void lookAlong(Vector3 direction, Matrix4& rotation) {
    direction.normalize();
    // Straight up or down the world y axis the usual up is parallel to the view.
    const Vector3 up =
        direction.x == 0.0f && direction.z == 0.0f ? Vector3{-direction.y, 0.0f, 0.0f} : Vector3{0.0f, -1.0f, 0.0f};
    Vector3 right = direction.cross(up);
    right.normalize();
    Vector3 upright = right.cross(direction);
    upright.normalize();
    const Vector3 rows[3] = {right, {-upright.x, -upright.y, -upright.z}, direction};
    for (int i = 0; i < 3; ++i) {
        rotation.m[i][0] = rows[i].x;
        rotation.m[i][1] = rows[i].y;
        rotation.m[i][2] = rows[i].z;
    }
}

// Multiplied on the right: turns the camera-relative offset about the world z
// axis before the look-at rotation.
void applyRoll(float roll, Matrix4& rotation) {
    const auto cosine = static_cast<float>(std::cos(-static_cast<double>(roll)));
    const auto sine = static_cast<float>(std::sin(-static_cast<double>(roll)));
    Matrix4 turn;
    turn.setIdentity();
    turn.m[0][0] = cosine;
    turn.m[0][1] = sine;
    turn.m[1][0] = -sine;
    turn.m[1][1] = cosine;
    rotation = rotation * turn;
}

}  // namespace

void updateCamera(Camera& camera, int32_t frame) {
    if (camera.kind == kindFreeCamera) updateFreeCamera(camera, frame);
    if (camera.kind != kindTargetCamera) return;
    if (auto* targetCamera = dynamic_cast<TargetCamera*>(&camera)) updateTargetCamera(*targetCamera, frame);
}

void updateFreeCamera(Camera& camera, int32_t frame) {
    camera.position = trackValue(camera.positionTrack, frame, camera.restPosition);
    camera.rotation = camera.restRotation;
    camera.rotation.swapXZColumns();
}

void updateTargetCamera(TargetCamera& camera, int32_t frame) {
    camera.position = trackValue(camera.positionTrack, frame, camera.restPosition);
    if (camera.target == nullptr) return;
    const CameraTarget& target = *camera.target;
    const Vector3 looked = trackValue(target.positionTrack, frame, target.restPosition);
    lookAlong(looked - camera.position, camera.rotation);
    if (!camera.rollTrack.empty()) applyRoll(trackValue(camera.rollTrack, frame, 0.0f), camera.rotation);
}
