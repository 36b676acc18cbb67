// The scene's load after the reader: parents by name, the depth order, the
// active camera and the lists that drawing walks.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

TEST_F(SceneLoad, ParentsAreMatchedByNameAndTheLastOtherMatchWins) {
    kvs::Mesh laterTwin = meshNamed("twin");
    laterTwin.header.tag = 2;
    loadMeshes({meshNamed("twin"), meshNamed("child", "twin"), laterTwin, meshNamed("self", "self"),
                meshNamed("orphan", "nobody"), meshNamed("Twin", "TWIN")});
    EXPECT_EQ(hierarchyLog(),
              "child hierarchised on twin\nchild hierarchised on twin\n"
              "Number of hierarchised object : 2-3\nambiant : 0.000000 0.000000 0.000000 \n")
        << "a file without an ambient colour logs zeros";
    const SceneObject* child = named<SceneObject>("child");
    ASSERT_NE(child->parent, nullptr);
    EXPECT_EQ(child->parent->tag, 2);
    EXPECT_EQ(named<SceneObject>("self")->parent, nullptr) << "a match with itself, but no link";
    EXPECT_EQ(named<SceneObject>("orphan")->parent, nullptr);
}

TEST_F(SceneLoad, TwoParentsBearingTheNameAreBothLogged) {
    loadMeshes({meshNamed("twin"), meshNamed("twin"), meshNamed("child", "twin")});
    EXPECT_THAT(log.text(), HasSubstr("child hierarchised on twin\nchild hierarchised on twin\n"));
    EXPECT_THAT(log.text(), HasSubstr("Number of hierarchised object : 2-2\n"));
}

TEST_F(SceneLoad, ObjectsNamingThemselvesCountAMatchAndNoLink) {
    loadMeshes({meshNamed("self", "self")});
    EXPECT_EQ(hierarchyLog(), "Number of hierarchised object : 0-1\nambiant : 0.000000 0.000000 0.000000 \n");
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
    EXPECT_EQ(camera.position.x, 0.0f);
    EXPECT_EQ(camera.position.z, 0.0f);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_EQ(camera.rotation.m[i][j], i == j ? 1.0f : 0.0f);
    EXPECT_TRUE(scene->cameras.empty());
    EXPECT_EQ(objectNames(), (std::vector<std::string>{"m"})) << "the default camera is not an object of the scene";
    EXPECT_THAT(debug.text(), testing::Not(HasSubstr("Camera Found!")));
}

TEST_F(SceneLoad, KindListsHoldMeshesAndCamerasButNotTargets) {
    loadMeshes({meshNamed("m1"), meshNamed("m2")}, {targetCamera("t", "aim"), freeCamera("f")});
    EXPECT_EQ(scene->meshes.size(), 2u);
    EXPECT_EQ(scene->cameras.size(), 2u);
    EXPECT_TRUE(scene->reservedObjects.empty());
    for (const Camera* camera : scene->cameras) EXPECT_NE(camera->kind, kindCameraTarget);
}

TEST_F(SceneLoad, SampledTracksReachTheObjectsOneValuePerFrame) {
    kvs::SceneFile file;
    file.environment.flags = 0x06;
    file.lastFrame = 9;
    file.frameStep = 160;
    kvs::Mesh mesh = meshNamed("m");
    mesh.animation = kvs::Animation::sampledTracks({{0, {1, 0, 0}}, {800, {2, 0, 0}}, {1440, {3, 0, 0}}},
                                                   {{0, {0, 0, 0, 1}}, {800, {0, 0, 0, 1}}, {800, {1, 0, 0, 0}}});
    kvs::Camera camera = targetCamera("cam", "aim");
    camera.animation = kvs::Animation::sampledTracks({}, {{160, {0.5f}}, {480, {0.25f}}});
    file.meshes = {mesh};
    file.cameras = {camera};
    load(file);
    const Mesh& loaded = *named<Mesh>("m");
    std::vector<float> xs;
    for (const Vector3& position : loaded.positionTrack) xs.push_back(position.x);
    EXPECT_EQ(xs, (std::vector<float>{1, 1, 1, 1, 1, 2, 2, 2, 2, 3}));
    ASSERT_EQ(loaded.rotationTrack.size(), 10u);
    EXPECT_EQ(loaded.rotationTrack[9].w, 1.0f) << "a repeated key time is never taken";
    EXPECT_EQ(named<TargetCamera>("cam")->rollTrack,
              (RollTrack{0.5f, 0.5f, 0.5f, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f}));
}
