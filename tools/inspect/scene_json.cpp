#include "tools/inspect/scene_json.h"

#include <optional>

#include "render/camera_update.h"
#include "render/mesh_transform.h"
#include "tools/inspect/json_writer.h"

namespace {

void triple(JsonWriter& json, float x, float y, float z) {
    json.beginArray().value(double{x}).value(double{y}).value(double{z}).endArray();
}

void triple(JsonWriter& json, const Vector3& v) { triple(json, v.x, v.y, v.z); }

void colour(JsonWriter& json, const char* name, const D3DCOLORVALUE& c) {
    json.key(name);
    triple(json, c.r, c.g, c.b);
}

void optionalTriple(JsonWriter& json, const char* name, const std::optional<Vector3>& v) {
    json.key(name);
    if (v)
        triple(json, *v);
    else
        json.null();
}

void optionalText(JsonWriter& json, const char* name, const std::optional<std::string>& text) {
    json.key(name);
    if (text)
        json.value(*text);
    else
        json.null();
}

void header(JsonWriter& json, const Scene& scene, int version) {
    json.key("version").value(version).key("name").value(scene.name);
    json.key("firstFrame").value(scene.firstFrame).key("lastFrame").value(scene.lastFrame);
    json.key("frameCount").value(scene.frameCount).key("frameStep").value(scene.frameStep);
    json.key("headerValueC").value(scene.headerValueC).key("meshCount").value(scene.meshCount);
    json.key("cameraCount").value(scene.cameraCount).key("extraCount").value(scene.extraCount);
    optionalText(json, "environmentName", scene.environmentName);
    optionalTriple(json, "environmentColour", scene.environmentColour);
    optionalTriple(json, "ambientColour", scene.ambientColour);
    json.key("fog").beginObject().key("mode").value(scene.fogMode).key("start").value(double{scene.fogStart});
    json.key("end").value(double{scene.fogEnd}).key("density").value(double{scene.fogDensity}).endObject();
}

void material(JsonWriter& json, const Material& material) {
    json.beginObject().key("opacity").value(double{material.opacity}).key("flags").value(unsigned{material.flags});
    optionalText(json, "texture", material.texture ? std::optional<std::string>(material.texture->name) : std::nullopt);
    colour(json, "ambient", material.d3dMaterial.ambient);
    colour(json, "diffuse", material.d3dMaterial.diffuse);
    colour(json, "specular", material.d3dMaterial.specular);
    json.endObject();
}

void materials(JsonWriter& json, const MaterialLibrary& library) {
    json.key("materials").beginArray();
    for (const auto& set : library.sets) {
        json.beginArray();
        for (const Material& each : *set) material(json, each);
        json.endArray();
    }
    json.endArray();
}

void objects(JsonWriter& json, const Scene& scene) {
    json.key("objects").beginArray();
    for (const SceneObject* object = scene.objects; object != nullptr; object = object->next) {
        json.beginObject().key("name").value(object->name).key("kind").value(object->kind);
        optionalText(json, "parentName", object->parentName);
        optionalText(json, "parent", object->parent ? std::optional<std::string>(object->parent->name) : std::nullopt);
        json.key("animated").value(object->animated != 0).key("tag").value(int{object->tag}).endObject();
    }
    json.endArray();
    // The default camera is no object of the scene.
    const bool ownCamera = scene.activeCamera != nullptr && scene.activeCamera->kind != kindNone;
    optionalText(json, "activeCamera", ownCamera ? std::optional<std::string>(scene.activeCamera->name) : std::nullopt);
}

void frame(JsonWriter& json, Scene& scene, int32_t n) {
    Camera& camera = *scene.activeCamera;
    updateCamera(camera, n);
    json.beginObject().key("frame").value(n).key("camera").beginObject().key("position");
    triple(json, camera.position);
    json.key("rotation").beginArray();
    for (int row = 0; row < 3; ++row)
        triple(json, camera.rotation.m[row][0], camera.rotation.m[row][1], camera.rotation.m[row][2]);
    json.endArray().endObject().key("meshes").beginArray();
    for (Mesh* mesh : scene.meshes) {
        transformMesh(*mesh, n, camera);
        json.beginObject().key("name").value(mesh->name).key("vertices").beginArray();
        for (const Vector3& vertex : mesh->vertices) triple(json, vertex);
        json.endArray().endObject();
    }
    json.endArray().endObject();
}

}  // namespace

std::string describeScene(Scene& scene, int version, const std::vector<int32_t>& frames) {
    JsonWriter json;
    json.beginObject();
    header(json, scene, version);
    materials(json, *scene.materials);
    objects(json, scene);
    json.key("frames").beginArray();
    for (int32_t n : frames) frame(json, scene, n);
    json.endArray().endObject();
    return json.text();
}
