#pragma once
// Scene files for tests: small records built with the .kvs writer, and a
// fixture that saves a file and loads it the way the engine does.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scene/scene.h"
#include "scene/scene_reader.h"
#include "tests/support/test_support.h"
#include "tools/kvs/kvs_writer.h"

namespace testing_support {

// A file of that version with nothing in it but an environment without colour
// or ambient light.
kvs::SceneFile emptyFile(int version);
kvs::ObjectHeader objectNamed(const std::string& name, std::optional<std::string> parent = {});
// A mesh without vertices or faces: enough for the hierarchy and the lists.
kvs::Mesh meshNamed(const std::string& name, std::optional<std::string> parent = {});
// A triangle of three vertices, untextured.
kvs::Mesh triangleMesh(const std::string& name, const Vector3& a, const Vector3& b, const Vector3& c);
kvs::Camera freeCamera(const std::string& name, std::vector<float> fieldOfView = {0.8f});
kvs::Camera targetCamera(const std::string& name, const std::string& targetName,
                         std::vector<float> fieldOfView = {0.8f});
// One set of one untextured material of the given transparency.
kvs::MaterialSet plainMaterialSet(size_t materials = 1, float transparency = 0.0f);

class SceneFileTest : public testing::Test {
protected:
    // Saves the file and loads it into scene from the file's directory, where
    // the textures it names are looked for; a fatal stop ends the process.
    void load(const kvs::SceneFile& file);
    void loadBytes(const std::vector<uint8_t>& bytes);
    // The last "error while reading" line of the log, or the whole log.
    std::string errorLine() const;
    std::string logAfterStartLine() const { return log.textAfterStartLine(); }
    std::vector<std::string> objectNames() const;
    // A reader at the start of bytes saved as the scene file, for a scene of
    // frameCount frames and frameStep key-time units per frame.
    SceneReader& readerOver(const kvs::KvsWriter& bytes, int32_t frameCount = 10, int32_t frameStep = 160);
    // The loaded object of that name and class, or null.
    template <typename Object>
    Object* named(const std::string& name) const {
        for (SceneObject* object = scene->objects; object != nullptr; object = object->next)
            if (object->name == name) return dynamic_cast<Object*>(object);
        return nullptr;
    }

    LogCapture log;
    ScratchDirectory directory;
    std::string path = (directory / "scene.kvs").string();
    std::unique_ptr<Scene> scene = std::make_unique<Scene>(nullptr, nullptr);
    std::unique_ptr<SceneReader> reader;
};

}  // namespace testing_support
