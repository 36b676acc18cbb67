#include "scene/camera.h"

void CameraTarget::release() {
    positionTrack = {};
    rotationTrack = {};
}

void Camera::release() {
    positionTrack = {};
    fieldOfView = {};
}

void TargetCamera::release() {
    Camera::release();
    rollTrack = {};
}
