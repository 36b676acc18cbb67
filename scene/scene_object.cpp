#include "scene/scene_object.h"

#include "scene/camera.h"
#include "scene/mesh.h"

namespace {

template <typename Object>
void releaseAs(SceneObject* object) {
    if (auto* typed = dynamic_cast<Object*>(object)) typed->release();
}

}  // namespace

// Chosen by kind, as the file declared it; the checked cast keeps an object whose
// kind and class disagree from being released as something it is not.
void SceneObject::releaseKindData() {
    switch (kind) {
        case kindCameraTarget: releaseAs<CameraTarget>(this); break;
        case kindFreeCamera: releaseAs<Camera>(this); break;
        case kindTargetCamera: releaseAs<TargetCamera>(this); break;
        case kindMesh: releaseAs<Mesh>(this); break;
        default: break;
    }
}
