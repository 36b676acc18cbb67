// Files that are not what they claim: each ends in the fatal stop with a log
// line naming the file, the problem and where it was found, never in a crash.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <limits>
#include <random>

#include "base/log.h"
#include "platform/test_seams.h"
#include "tests/support/scene_files.h"

using testing::ExitedWithCode;
using testing::HasSubstr;
using testing_support::freeCamera;
using testing_support::meshNamed;
using testing_support::plainMaterialSet;
using testing_support::SceneFileTest;
using testing_support::targetCamera;
using testing_support::triangleMesh;

namespace {

class SceneFileFaults : public SceneFileTest {
protected:
    // Loads in this process, a fatal stop turned into an exception by the
    // message box it shows: true when the file loaded. A crash ends the test.
    bool loads(const std::vector<uint8_t>& bytes) {
        struct FatalStop {};
        platform::setMessageBoxHook([](std::string_view, std::string_view) { throw FatalStop{}; });
        scene = std::make_unique<Scene>(nullptr, nullptr);
        bool loaded = true;
        try {
            loadBytes(bytes);
        } catch (const FatalStop&) {
            loaded = false;
        }
        platform::setMessageBoxHook({});
        return loaded;
    }
};

kvs::SceneFile headerOnly() {
    kvs::SceneFile file;
    file.lastFrame = 3;
    file.environment.flags = 0x06;
    return file;
}

kvs::SceneFile withMesh(const kvs::Mesh& mesh) {
    kvs::SceneFile file = headerOnly();
    file.materialSets = {plainMaterialSet(2)};
    file.meshes = {mesh};
    return file;
}

// Bytes of file up to its first mesh record, which the same file without
// meshes has as its whole.
size_t meshRecordStart(kvs::SceneFile file) {
    file.meshes.clear();
    file.cameras.clear();
    return kvs::sceneFileBytes(file).size();
}

// The sample of every kind of record, for truncation and corruption.
kvs::SceneFile richFile() {
    kvs::SceneFile file = headerOnly();
    file.name = "rich";
    file.fog = {0x01, 10.0f, 20.0f, 0.0f};
    file.environment = {0x01, "sky", {}, {0.5f, 0.5f, 0.5f}};
    file.materialSets = {plainMaterialSet(2, 0.5f), plainMaterialSet(1)};
    kvs::Mesh box = triangleMesh("box", {0, 0, 5}, {1, 0, 5}, {0, 1, 5});
    box.textured = true;
    box.materialIndex = 1;
    box.textureVertices = {{0, 0}, {1, 0}, {0, 1}};
    box.textureFaces = {{0, 1, 2}};
    const Quaternion turn{0.0f, 0.7071f, 0.0f, 0.7071f};
    box.animation = kvs::Animation::sampledTracks({{0, {0, 0, 5}}, {320, {1, 0, 5}}}, {{0, turn}, {160, turn}});
    kvs::Mesh lid = triangleMesh("lid", {0, 0, 6}, {1, 0, 6}, {0, 1, 6});
    lid.header.parentName = "box";
    file.meshes = {box, lid};
    kvs::Camera camera = targetCamera("cam", "aim", {0.8f, 0.9f});
    camera.animation = kvs::Animation::sampledTracks({{0, {0, 0, -5}}}, {{0, {0.1f}}});
    camera.targetAnimation = kvs::Animation::sampledTracks({{0, {0, 0, 0}}, {160, {0, 1, 0}}});
    file.cameras = {camera, freeCamera("free", {1.0f})};
    return file;
}

}  // namespace

TEST_F(SceneFileFaults, WrongMagicIsRefusedWithTheVersionMessage) {
    for (const std::string magic : {"kvor003", "Kvor001", "kvo"}) {
        kvs::KvsWriter bytes;
        bytes.chars(magic);
        if (magic.size() == 7) bytes.string("").int32(0).int32(0);
        EXPECT_EXIT(loadBytes(bytes.bytes()), ExitedWithCode(255), "error!: error : can't read the file\n") << magic;
        EXPECT_THAT(log.text(), HasSubstr("\n" + magic + "\nwrong version number or incorrect file\n")) << magic;
    }
}

TEST_F(SceneFileFaults, InconsistentFilesStopWithTheFileProblemAndOffset) {
    const kvs::Mesh triangle = triangleMesh("tri", {}, {}, {});
    const size_t start = meshRecordStart(withMesh(triangle));
    // Offsets of the triangle's fields from the start of its record.
    const size_t afterHeader = kvs::KvsWriter().objectHeader(triangle.header).size();
    const size_t faceStart = afterHeader + 12 + 4 + 36 + 4;
    struct Case {
        const char* what;
        std::function<std::vector<uint8_t>()> bytes;
        std::string logged;
    };
    auto fileWith = [](std::function<void(kvs::SceneFile&)> change) {
        return [change] {
            kvs::SceneFile file = headerOnly();
            change(file);
            return kvs::sceneFileBytes(file);
        };
    };
    auto meshWith = [](std::function<void(kvs::Mesh&)> change) {
        return [change] {
            kvs::Mesh mesh = triangleMesh("tri", {}, {}, {});
            change(mesh);
            return kvs::sceneFileBytes(withMesh(mesh));
        };
    };
    auto headerWith = [](int32_t meshCount) {
        return [=] { return kvs::KvsWriter().magic(1).header(headerOnly(), meshCount, 0).uint8(6).int32(0).bytes(); };
    };
    const auto longName = std::string(100, 'n');
    const Case cases[] = {
        {"frame count past int32",
         fileWith([](kvs::SceneFile& f) { f.lastFrame = std::numeric_limits<int32_t>::max(); }),
         "last frame 2147483647 gives no usable frame count at byte offset 16"},
        {"negative mesh count", headerWith(-1), "negative mesh count -1 at byte offset 28"},
        {"more meshes than bytes", headerWith(1000),
         "mesh count 1000 does not fit in the 13 bytes left at byte offset 28"},
        {"vertex index past the vertices", meshWith([](kvs::Mesh& m) { m.faces[0].c = 3; }),
         "face vertex index 3 outside 0 to 2 at byte offset " + std::to_string(start + faceStart)},
        {"texture index past the coordinates", meshWith([](kvs::Mesh& m) {
             m.textureVertices = {{0, 0}, {1, 1}};
             m.textureFaces = {{0, 1, 2}};
         }),
         "texture face index 2 outside 0 to 1 at byte offset " + std::to_string(start + faceStart + 14 + 4 + 16 + 4)},
        {"material index past the sets", meshWith([](kvs::Mesh& m) {
             m.textured = true;
             m.materialIndex = 1;
         }),
         "material index 1 outside 0 to 0 at byte offset " + std::to_string(start + afterHeader + 4)},
        {"sub-material past the set", meshWith([](kvs::Mesh& m) {
             m.textured = true;
             m.faces[0].subMaterial = 2;
         }),
         "sub-material index 2 beyond the materials of set 0 at byte offset " + std::to_string(start + faceStart - 8)},
        {"name of 100 characters", meshWith([&](kvs::Mesh& m) { m.header.name = longName; }),
         "object name of 100 characters (at most 99) at byte offset " + std::to_string(start)},
        {"camera kind 2", fileWith([](kvs::SceneFile& f) {
             f.cameras = {freeCamera("cam")};
             f.cameras[0].cameraKind = 2;
         }),
         "camera kind 2 is neither 0 (free) nor 1 (target) at byte offset 43"},
    };
    for (const Case& c : cases) {
        scene = std::make_unique<Scene>(nullptr, nullptr);
        EXPECT_EXIT(loadBytes(c.bytes()), ExitedWithCode(255), "error!: error : can't read the file\n") << c.what;
        EXPECT_EQ(errorLine(), "error while reading " + path + " : " + c.logged + "\n") << c.what;
    }
}

TEST_F(SceneFileFaults, ParentCycleIsRefusedAtTheFirstObjectCaughtInIt) {
    kvs::SceneFile file = headerOnly();
    file.meshes = {meshNamed("root"), meshNamed("leaf", "a"), meshNamed("a", "b"), meshNamed("b", "a")};
    const size_t leafStart = meshRecordStart(file) + kvs::KvsWriter().mesh(file.meshes[0]).size();
    EXPECT_EXIT(load(file), ExitedWithCode(255), "error!: error : can't read the file\n");
    EXPECT_EQ(errorLine(), "error while reading " + path + " : the parent chain of leaf loops at byte offset " +
                               std::to_string(leafStart) + "\n");
}

TEST_F(SceneFileFaults, EveryTruncationStopsAndNoCorruptionCrashes) {
    const std::vector<uint8_t> whole = kvs::sceneFileBytes(richFile());
    ASSERT_TRUE(loads(whole));
    for (size_t length = 0; length < whole.size(); ++length)
        EXPECT_FALSE(loads({whole.begin(), whole.begin() + static_cast<ptrdiff_t>(length)})) << "cut at " << length;
    std::mt19937 random(5);
    int loaded = 0;
    for (int variant = 0; variant < 400; ++variant) {
        std::vector<uint8_t> bytes = whole;
        const int changes = 1 + variant % 3;
        for (int change = 0; change < changes; ++change) {
            const size_t at = random() % bytes.size();
            bytes[at] = variant % 2 ? static_cast<uint8_t>(random()) : static_cast<uint8_t>(bytes[at] ^ 0x80);
        }
        loaded += loads(bytes);
    }
    EXPECT_GT(loaded, 0) << "some changes leave a valid file";
}

TEST_F(SceneFileFaults, TablesBeyondTheMemoryBudgetAreRefusedBeforeTheyAreMade) {
    kvs::SceneFile file = headerOnly();
    file.lastFrame = 99'999'999;
    kvs::Mesh mesh = meshNamed("far");
    mesh.animation = kvs::Animation::sampledTracks({{0, {1, 2, 3}}});
    file.meshes = {mesh};
    EXPECT_EXIT(load(file), ExitedWithCode(255), "error: error : not enough memory \n");
    const size_t afterKeys = kvs::sceneFileBytes(file).size() - 1;  // the end of the track list follows
    EXPECT_THAT(log.text(), HasSubstr("Reading Sample Pos with 1 keys\nerror while reading " + path +
                                      " : animation tables of 1200000000 bytes exceed the budget of 1073741824 "
                                      "bytes at byte offset " + std::to_string(afterKeys) + "\n"));
}
