#include "scene/scene.h"

#include "base/fatal.h"
#include "base/log.h"

Scene::Scene(IDirectDraw7* display, IDirect3DDevice7* device)
    : materials(std::make_unique<MaterialLibrary>(display)), display(display), device(device) {
    setSceneRelease([](Scene& scene) { scene.releaseOnFatal(); });
    logOpen("logFile.txt", this);
}

// A fatal stop after this scene is gone must not reach back into it.
Scene::~Scene() {
    if (registeredScene == this) registeredScene = nullptr;
}

void Scene::buildKindLists() {
    meshes.clear();
    reservedObjects.clear();
    cameras.clear();
    for (SceneObject* object = objects; object != nullptr; object = object->next) {
        const int32_t kind = object->kind;
        if (kind == kindMesh) {
            if (auto* mesh = dynamic_cast<Mesh*>(object)) meshes.push_back(mesh);
        } else if (kind >= kindReservedFirst && kind <= kindReservedLast) {
            reservedObjects.push_back(object);
        } else if (kind == kindFreeCamera || kind == kindTargetCamera) {
            if (auto* camera = dynamic_cast<Camera*>(object)) cameras.push_back(camera);
        }
    }
}

void Scene::releaseOnFatal() {
    for (SceneObject* object = objects; object != nullptr; object = object->next) object->releaseKindData();
    objects = nullptr;
    meshes.clear();
    reservedObjects.clear();
    cameras.clear();
    activeCamera = nullptr;
    ownedObjects.clear();
    materials.reset();
    name.clear();
}
