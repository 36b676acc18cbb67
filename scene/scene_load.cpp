// Loading a scene: the file, then the hierarchy, the order of the objects,
// the camera and the lists that drawing walks.

#include <new>

#include "base/fatal.h"
#include "platform/win32.h"
// Up to the renderer: a loaded scene sets its ambient, fog and projection on
// the device through the renderer's applySceneRenderStates.
#include "render/renderer.h"
#include "scene/scene.h"
#include "scene/scene_reader.h"

// Any allocation of the load that cannot be had (the file's bytes, vertices,
// faces, objects, strings, tables, textures) is the out-of-memory stop, taken
// once the reader's own buffers are gone.
void Scene::load(const char* fileName, Renderer*) {
    try {
        readAndLink(fileName);
    } catch (const std::bad_alloc&) {
        fatalError(0);
    }
    Renderer::applySceneRenderStates(*this);
}

void Scene::readAndLink(const char* fileName) {
    SceneReader reader(*this);
    reader.load(fileName);
    OutputDebugStringA("processHierarchy\n");
    resolveHierarchy();
    checkParentChains(reader);
    sortByDepth();
    chooseActiveCamera();
    buildKindLists();
}

// The default camera is never updated by drawing: it stays at the origin,
// looking along z with the identity orientation.
void Scene::chooseActiveCamera() {
    for (SceneObject* object = objects; object != nullptr; object = object->next) {
        if (object->kind != kindTargetCamera && object->kind != kindFreeCamera) continue;
        if (auto* camera = dynamic_cast<Camera*>(object)) {
            activeCamera = camera;
            OutputDebugStringA("Camera Found!\n");
            return;
        }
    }
    defaultCamera = std::make_unique<Camera>();
    defaultCamera->restRotation.setIdentity();
    defaultCamera->rotation.setIdentity();
    defaultCamera->fieldOfView = {defaultCameraFieldOfView};
    activeCamera = defaultCamera.get();
}
