#pragma once
// One loaded scene file: its header values, its objects, materials and fog, and
// the frame it draws next.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "math/vector3.h"
#include "platform/directx.h"
#include "scene/camera.h"
#include "scene/material_library.h"
#include "scene/mesh.h"
#include "scene/scene_object.h"

class Renderer;
class SceneReader;

class Scene {
public:
    // Becomes the scene that a fatal stop releases.
    Scene(IDirectDraw7* display, IDirect3DDevice7* device);
    virtual ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Takes ownership of an object read from the file; the caller links it.
    template <typename Object>
    Object* adopt(std::unique_ptr<Object> object) {
        Object* adopted = object.get();
        ownedObjects.push_back(std::move(object));
        return adopted;
    }

    // Reads fileName, links and orders the objects, chooses the camera and sets
    // the device state the scene needs. The renderer is not used.
    void load(const char* fileName, Renderer* renderer);
    // The part of load that builds the objects: the file, the hierarchy, the
    // order, the camera and the lists.
    void readAndLink(const char* fileName);
    // Each object's parent: the last other object, in list order, bearing its
    // parent name. Every match and link is logged.
    void resolveHierarchy();
    // Parents before children: a selection sort on depth in which the last of
    // equal depths wins each place.
    void sortByDepth();
    // The first camera of the list, else a default camera of the scene's own.
    void chooseActiveCamera();
    // meshes, reservedObjects and cameras afresh from the object list, in its order.
    void buildKindLists();
    // The fatal path: every object released and destroyed, then the materials and the name.
    void releaseOnFatal();

    std::string name;
    int32_t meshCount = 0;
    int32_t extraCount = 0;  // not interpreted
    int32_t cameraCount = 0;
    int32_t headerValueC = 0;  // not interpreted
    int32_t firstFrame = 0;
    int32_t lastFrame = 0;
    int32_t frameStep = 0;           // key-time units per frame
    int32_t frameCount = 0;          // lastFrame + 1: the length of every per-frame track
    SceneObject* objects = nullptr;  // linked through next; parents before children once loaded
    std::vector<Mesh*> meshes;
    std::vector<SceneObject*> reservedObjects;
    std::vector<Camera*> cameras;
    Camera* activeCamera = nullptr;
    std::unique_ptr<MaterialLibrary> materials;
    std::optional<Vector3> environmentColour;
    std::optional<Vector3> ambientColour;
    std::optional<std::string> environmentName;
    int32_t fogMode = 0;  // 0 off, else D3DFOG_EXP (1), D3DFOG_EXP2 (2) or D3DFOG_LINEAR (3)
    float fogStart = 0.0f;
    float fogEnd = 0.0f;
    float fogDensity = 0.0f;  // already scaled by 0.0001
    IDirectDraw7* display;
    IDirect3DDevice7* device;
    int32_t currentFrame = 0;

private:
    void checkParentChains(const SceneReader& reader) const;

    std::vector<std::unique_ptr<SceneObject>> ownedObjects;
    std::unique_ptr<Camera> defaultCamera;  // active when the file has no camera; not in objects
};
