// The scene's load after the reader: parents by name, the depth order, the
// active camera and the lists that drawing walks.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

#include "render/scene_frame.h"
#include "tests/support/scene_files.h"

using testing::HasSubstr;
using testing_support::DebugOutputCapture;
using testing_support::freeCamera;
using testing_support::meshNamed;
using testing_support::SceneFileTest;
using testing_support::targetCamera;

namespace {

class SceneLoad : public SceneFileTest {
protected:
    void loadMeshes(std::vector<kvs::Mesh> meshes, std::vector<kvs::Camera> cameras = {}) {
        kvs::SceneFile file;
        file.environment.flags = 0x06;
        file.meshes = std::move(meshes);
        file.cameras = std::move(cameras);
        load(file);
    }
    // The log from the first hierarchy line on.
    std::string hierarchyLog() const {
        const std::string text = log.text();
        const size_t start = text.find(" hierarchised on ");
        const size_t line =
            start == std::string::npos ? text.find("Number of hierarchised") : text.rfind('\n', start) + 1;
        return text.substr(line);
    }
};

}  // namespace

TEST_F(SceneLoad, ParentsAreMatchedByNameEveryMatchLoggedAndTheLastOtherKept) {
    kvs::Mesh laterTwin = meshNamed("twin");
    laterTwin.header.tag = 2;
    loadMeshes({meshNamed("twin"), meshNamed("child", "twin"), laterTwin, meshNamed("self", "self"),
                meshNamed("orphan", "nobody"), meshNamed("Twin", "TWIN")});
    EXPECT_EQ(hierarchyLog(),
              "child hierarchised on twin\nchild hierarchised on twin\n"
              "Number of hierarchised object : 2-3\nambiant : 0.000000 0.000000 0.000000 \n")
        << "a self match counts and links nothing; names are compared with their case";
    EXPECT_EQ(named<SceneObject>("child")->parent->tag, 2);
    EXPECT_EQ(named<SceneObject>("self")->parent, nullptr);
}

TEST_F(SceneLoad, DepthSortPutsParentsFirstAndTheLastOfEqualsWins) {
    struct Case {
        const char* what;
        std::vector<kvs::Mesh> meshes;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"three roots", {meshNamed("A"), meshNamed("B"), meshNamed("C")}, {"C", "A", "B"}},
        {"five roots",
         {meshNamed("A"), meshNamed("B"), meshNamed("C"), meshNamed("D"), meshNamed("E")},
         {"E", "A", "B", "C", "D"}},
        {"a child between roots", {meshNamed("M1"), meshNamed("M2", "M1"), meshNamed("M3")}, {"M3", "M1", "M2"}},
        {"a chain in reverse", {meshNamed("c", "b"), meshNamed("b", "a"), meshNamed("a")}, {"a", "b", "c"}},
        {"two levels",
         {meshNamed("g", "p"), meshNamed("r1"), meshNamed("p", "r1"), meshNamed("r2"), meshNamed("q", "r2")},
         {"r2", "r1", "q", "p", "g"}},
        {"one object", {meshNamed("only")}, {"only"}},
        {"none", {}, {}},
    };
    for (const Case& c : cases) {
        scene = std::make_unique<Scene>(nullptr, nullptr);
        loadMeshes(c.meshes);
        EXPECT_EQ(objectNames(), c.expected) << c.what;
        EXPECT_EQ(scene->meshes.size(), c.expected.size()) << c.what;
    }
}

TEST_F(SceneLoad, ActiveCameraIsTheFirstCameraAfterTheSort) {
    struct Case {
        const char* what;
        std::vector<kvs::Camera> cameras;
        const char* active;
    };
    const Case cases[] = {
        {"a free camera last moves to the front", {targetCamera("t1", "aim1"), freeCamera("f1")}, "f1"},
        {"a target camera last moves its target to the front", {freeCamera("f1"), targetCamera("t1", "aim1")}, "f1"},
        {"one target camera", {targetCamera("t1", "aim1")}, "t1"},
    };
    for (const Case& c : cases) {
        scene = std::make_unique<Scene>(nullptr, nullptr);
        DebugOutputCapture debug;
        loadMeshes({meshNamed("m")}, c.cameras);
        EXPECT_EQ(scene->activeCamera->name, c.active) << c.what;
        EXPECT_THAT(debug.text(), HasSubstr("processHierarchy\nCamera Found!\n")) << c.what;
        EXPECT_EQ(scene->cameras.size(), c.cameras.size()) << c.what;
    }
}

TEST_F(SceneLoad, SceneWithoutCameraViewsFromTheOriginWithTheDefaultCamera) {
    DebugOutputCapture debug;
    loadMeshes({meshNamed("m")});
    const Camera& camera = *scene->activeCamera;
    EXPECT_EQ(camera.kind, kindNone);
    EXPECT_EQ(camera.fieldOfView, (std::vector<float>{1.57f}));
    EXPECT_EQ(camera.rotation.m[1][1], 1.0f);
    EXPECT_EQ(objectNames(), (std::vector<std::string>{"m"})) << "the default camera is not an object of the scene";
    EXPECT_THAT(debug.text(), testing::Not(HasSubstr("Camera Found!")));
}

TEST_F(SceneLoad, SceneWithoutFramesLoadsEmptyTablesAndDrawsAtRest) {
    for (int32_t lastFrame : {-1, -2, std::numeric_limits<int32_t>::min()}) {
        kvs::SceneFile file;
        file.environment.flags = 0x06;
        file.lastFrame = lastFrame;
        kvs::Mesh moving = testing_support::triangleMesh("tri", {0, 0, 5}, {1, 0, 5}, {0, 1, 5});
        moving.animation = kvs::Animation::sampledTracks({{0, {1, 2, 3}}, {160, {4, 5, 6}}}, {{0, {}}});
        file.meshes = {moving};
        kvs::Camera camera = freeCamera("cam");
        camera.animation = kvs::Animation::sampledTracks({{0, {0, 0, -1}}});
        file.cameras = {camera};
        scene = std::make_unique<Scene>(nullptr, nullptr);
        load(file);
        EXPECT_EQ(scene->frameCount, lastFrame + 1);
        ASSERT_EQ(scene->meshes.size(), 1u);
        EXPECT_TRUE(scene->meshes[0]->positionTrack.empty());
        EXPECT_TRUE(scene->meshes[0]->rotationTrack.empty());
        EXPECT_TRUE(scene->cameras.at(0)->positionTrack.empty());
        for (int32_t start : {0, 1, 7}) {
            scene->currentFrame = start;
            drawSceneFrame(*scene);
            EXPECT_EQ(scene->currentFrame, 0);
        }
    }
}
