#pragma once
// Cameras and the points that target cameras look at.

#include <vector>

#include "anim/tracks.h"
#include "scene/scene_object.h"

// Radians: the default camera's, and any camera's whose file gives none.
constexpr float defaultCameraFieldOfView = 1.57f;

class CameraTarget : public SceneObject {
public:
    void release();

    PositionTrack positionTrack;
    RotationTrack rotationTrack;  // held as read; drawing does not use it
};

// A free camera: placed by its position track, turned by its rest rotation.
class Camera : public SceneObject {
public:
    void release();

    std::vector<float> fieldOfView;  // radians; entry 0 sets the projection
    PositionTrack positionTrack;
};

// Looks at its target, with a roll per frame.
class TargetCamera : public Camera {
public:
    void release();

    CameraTarget* target = nullptr;  // not owned: an object of the scene's list too
    RollTrack rollTrack;
};
