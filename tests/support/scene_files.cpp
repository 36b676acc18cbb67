#include "tests/support/scene_files.h"

#include "base/log.h"
#include "scene/kvs_flags.h"

namespace testing_support {

kvs::SceneFile emptyFile(int version) {
    kvs::SceneFile file;
    file.version = version;
    file.environment.flags = kvs_flags::environmentWithoutColour | kvs_flags::environmentWithoutAmbient;
    return file;
}

kvs::ObjectHeader objectNamed(const std::string& name, std::optional<std::string> parent) {
    kvs::ObjectHeader header;
    header.name = name;
    header.parentName = std::move(parent);
    return header;
}

kvs::Mesh meshNamed(const std::string& name, std::optional<std::string> parent) {
    kvs::Mesh mesh;
    mesh.header = objectNamed(name, std::move(parent));
    return mesh;
}

kvs::Mesh triangleMesh(const std::string& name, const Vector3& a, const Vector3& b, const Vector3& c) {
    kvs::Mesh mesh = meshNamed(name);
    mesh.vertices = {a, b, c};
    mesh.faces = {{0, 1, 2, 0}};
    return mesh;
}

kvs::Camera freeCamera(const std::string& name, std::vector<float> fieldOfView) {
    kvs::Camera camera;
    camera.header = objectNamed(name);
    camera.fieldOfView = std::move(fieldOfView);
    return camera;
}

kvs::Camera targetCamera(const std::string& name, const std::string& targetName, std::vector<float> fieldOfView) {
    kvs::Camera camera = freeCamera(name, std::move(fieldOfView));
    camera.cameraKind = kvs::Camera::targetKind;
    camera.targetHeader = objectNamed(targetName);
    return camera;
}

kvs::MaterialSet plainMaterialSet(size_t materials, float transparency) {
    kvs::MaterialSet set;
    set.materials.resize(materials);
    for (kvs::Material& material : set.materials) material.transparency = transparency;
    return set;
}

void SceneFileTest::load(const kvs::SceneFile& file) { loadBytes(kvs::sceneFileBytes(file)); }

void SceneFileTest::loadBytes(const std::vector<uint8_t>& bytes) {
    kvs::saveBytes(bytes, path);
    logFlush();  // a death test's child must not write the parent's buffer again
    // Back to the directory before, however the load ends.
    struct WorkingDirectory {
        std::filesystem::path before = std::filesystem::current_path();
        ~WorkingDirectory() { std::filesystem::current_path(before); }
    } restored;
    std::filesystem::current_path(directory.path());
    scene->load(path.c_str(), nullptr);
}

std::string SceneFileTest::errorLine() const {
    const std::string text = log.text();
    const size_t start = text.rfind("error while reading");
    return start == std::string::npos ? text : text.substr(start);
}

SceneReader& SceneFileTest::readerOver(const kvs::KvsWriter& bytes, int32_t frameCount, int32_t frameStep) {
    scene->frameCount = frameCount;
    scene->lastFrame = frameCount - 1;
    scene->frameStep = frameStep;
    kvs::saveBytes(bytes.bytes(), path);
    reader = std::make_unique<SceneReader>(*scene);
    reader->openFile(path.c_str());
    logFlush();  // a death test's child must not write the parent's buffer again
    return *reader;
}

std::vector<std::string> SceneFileTest::objectNames() const {
    std::vector<std::string> names;
    for (const SceneObject* object = scene->objects; object != nullptr; object = object->next)
        names.push_back(object->name);
    return names;
}

}  // namespace testing_support
