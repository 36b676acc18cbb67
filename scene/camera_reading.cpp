// Camera records of the scene file: free cameras, and target cameras with the
// point they look at.

#include "base/log.h"
#include "scene/scene.h"
#include "scene/scene_reader.h"

namespace {

constexpr uint8_t freeCameraRecord = 0;
constexpr uint8_t targetCameraRecord = 1;
constexpr size_t fieldOfViewEntrySize = 8;  // four unused bytes, then the angle

}  // namespace

void SceneReader::readCamera() {
    const uint8_t cameraKind = readUint8("camera kind");
    if (cameraKind != freeCameraRecord && cameraKind != targetCameraRecord)
        fail("camera kind " + std::to_string(cameraKind) + " is neither 0 (free) nor 1 (target)");
    Camera* camera = nullptr;
    TargetCamera* targetCamera = nullptr;
    if (cameraKind == freeCameraRecord) {
        camera = scene.adopt(std::make_unique<Camera>());
        append(*camera, kindFreeCamera);
        logWrite("Free Camera");
    } else {
        camera = targetCamera = scene.adopt(std::make_unique<TargetCamera>());
        append(*camera, kindTargetCamera);
        targetCamera->target = scene.adopt(std::make_unique<CameraTarget>());
        append(*targetCamera->target, kindCameraTarget);
        logWrite("Target Camera");
    }
    uint8_t flags = 0;
    readObjectHeader(*camera, flags);
    if (targetCamera) readObjectHeader(*targetCamera->target, flags);
    readCameraAnimation(*camera, targetCamera);
    readFieldOfView(*camera);
}

// A camera keeps only the roll of its rotation keys, and a free camera not even that.
void SceneReader::readCameraAnimation(Camera& camera, TargetCamera* targetCamera) {
    logFormat("reading pos animation\n");
    RotationTrack rotations;
    if (readAnimation(camera.positionTrack, rotations)) camera.animated = 1;
    if (targetCamera == nullptr) return;
    if (!rotations.empty()) targetCamera->rollTrack = rollTrackFrom(rotations);
    logFormat("reading target animation\n");
    CameraTarget& target = *targetCamera->target;
    if (readAnimation(target.positionTrack, target.rotationTrack)) target.animated = 1;
}

// An empty list would leave the projection without an angle: the default
// camera's stands in.
void SceneReader::readFieldOfView(Camera& camera) {
    const int32_t count = readCount("field of view count", fieldOfViewEntrySize);
    logFormat("Nombre de parametres : %d\n", count);
    camera.fieldOfView.assign(static_cast<size_t>(count), 0.0f);
    for (float& angle : camera.fieldOfView) {
        skipBytes(4, "field of view entry");
        angle = readFloat32("field of view");
    }
    if (camera.fieldOfView.empty()) camera.fieldOfView.push_back(defaultCameraFieldOfView);
    logFormat("FOV at time 0 : %f\n", camera.fieldOfView[0]);
}
