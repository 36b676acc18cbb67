#pragma once
// The common base of everything a scene file places: meshes, cameras and the
// points that target cameras look at.

#include <cstdint>
#include <optional>
#include <string>

#include "math/matrix4.h"
#include "math/vector3.h"

enum ObjectKind : int32_t {
    kindNone = 0,  // a new object, and the default camera of a scene without cameras
    kindCameraTarget = 1,
    kindFreeCamera = 2,
    kindTargetCamera = 3,
    kindMesh = 4,
    // Set apart for objects that no record creates; the scene still lists them.
    kindReservedFirst = 5,
    kindReservedLast = 7,
};

class SceneObject {
public:
    virtual ~SceneObject() = default;

    // First step of an object's release: the data its kind owns (tracks,
    // field-of-view list, vertices, faces). Destruction is the second step.
    void releaseKindData();

    uint8_t animated = 0;  // 1 when the object's animation block reported animation
    std::string name;
    std::optional<std::string> parentName;
    Matrix4 rotation;      // current; cameras rewrite it every frame
    Vector3 position;      // current; cameras rewrite it every frame
    Vector3 restPosition;  // also a mesh's pivot
    Matrix4 restRotation;
    int16_t tag = 0;
    SceneObject* parent = nullptr;
    SceneObject* next = nullptr;  // the scene's object list
    int32_t kind = kindNone;
};
