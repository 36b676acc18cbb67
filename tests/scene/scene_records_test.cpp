#include <gtest/gtest.h>

#include "base/log.h"
#include "scene/camera.h"
#include "scene/mesh.h"
#include "scene/scene.h"
#include "tests/support/test_support.h"

using testing_support::LogCapture;

namespace {

class SceneRecords : public testing::Test {
protected:
    template <typename Object>
    Object* append(int32_t kind) {
        Object* object = scene.adopt(std::make_unique<Object>());
        object->kind = kind;
        if (tail == nullptr)
            scene.objects = object;
        else
            tail->next = object;
        tail = object;
        return object;
    }

    LogCapture log;
    Scene scene{nullptr, nullptr};
    SceneObject* tail = nullptr;
};

}  // namespace

TEST(SceneObject, NewObjectIsEmpty) {
    const SceneObject object;
    EXPECT_EQ(object.kind, 0);
    EXPECT_EQ(object.animated, 0);
    EXPECT_TRUE(object.name.empty());
    EXPECT_FALSE(object.parentName.has_value());
    EXPECT_EQ(object.parent, nullptr);
    EXPECT_EQ(object.next, nullptr);
}

TEST_F(SceneRecords, KindListsFollowTheObjectListAndLeaveTargetsOut) {
    Mesh* first = append<Mesh>(kindMesh);
    append<CameraTarget>(kindCameraTarget);
    TargetCamera* targetCamera = append<TargetCamera>(kindTargetCamera);
    SceneObject* reserved = append<SceneObject>(6);
    Mesh* second = append<Mesh>(kindMesh);
    Camera* freeCamera = append<Camera>(kindFreeCamera);
    append<SceneObject>(9);
    scene.buildKindLists();
    EXPECT_EQ(scene.meshes, (std::vector<Mesh*>{first, second}));
    EXPECT_EQ(scene.cameras, (std::vector<Camera*>{targetCamera, freeCamera}));
    EXPECT_EQ(scene.reservedObjects, (std::vector<SceneObject*>{reserved}));

    scene.buildKindLists();  // built afresh, never appended twice
    EXPECT_EQ(scene.meshes.size(), 2u);
}

TEST_F(SceneRecords, KindDataIsReleasedByKindBeforeTheObjectGoes) {
    Mesh* mesh = append<Mesh>(kindMesh);
    mesh->allocateVertices(3);
    mesh->allocateFaces(1);
    mesh->positionTrack.resize(4);
    TargetCamera* camera = append<TargetCamera>(kindTargetCamera);
    camera->fieldOfView = {1.0f, 2.0f};
    camera->rollTrack.resize(4);
    camera->positionTrack.resize(4);
    CameraTarget* target = append<CameraTarget>(kindCameraTarget);
    target->rotationTrack.resize(4);
    Mesh* mislabelled = append<Mesh>(kindFreeCamera);  // a kind that disagrees with the class
    mislabelled->allocateVertices(2);

    for (SceneObject* object = scene.objects; object != nullptr; object = object->next) object->releaseKindData();
    EXPECT_TRUE(mesh->baseVertices.empty());
    EXPECT_TRUE(mesh->vertices.empty());
    EXPECT_TRUE(mesh->faces.empty());
    EXPECT_TRUE(mesh->positionTrack.empty());
    EXPECT_TRUE(camera->fieldOfView.empty());
    EXPECT_TRUE(camera->rollTrack.empty());
    EXPECT_TRUE(camera->positionTrack.empty());
    EXPECT_TRUE(target->rotationTrack.empty());
    EXPECT_EQ(mislabelled->vertices.size(), 2u) << "not released as a camera";
}

TEST_F(SceneRecords, ReleaseOnFatalEmptiesTheScene) {
    append<Mesh>(kindMesh)->allocateVertices(10);
    append<Camera>(kindFreeCamera);
    scene.name = "tores";
    scene.buildKindLists();
    scene.activeCamera = scene.cameras.front();
    scene.releaseOnFatal();
    EXPECT_EQ(scene.objects, nullptr);
    EXPECT_TRUE(scene.meshes.empty());
    EXPECT_TRUE(scene.cameras.empty());
    EXPECT_EQ(scene.activeCamera, nullptr);
    EXPECT_EQ(scene.materials, nullptr);
    EXPECT_TRUE(scene.name.empty());
    scene.releaseOnFatal();  // a second fatal path finds nothing left to release
}

TEST(MaterialLibrary, SetsAreCreatedByIndexAndMaterialsStartWhiteAmbient) {
    MaterialLibrary library(nullptr);
    library.reserveSets(2);
    EXPECT_EQ(library.setCount, 2);
    EXPECT_EQ(library.material(1, 0), nullptr) << "set 1 not created yet";
    library.createSet(1, 3);
    Material* material = library.material(1, 2);
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->d3dMaterial.ambient.r, 1.0f);
    EXPECT_EQ(material->d3dMaterial.ambient.g, 1.0f);
    EXPECT_EQ(material->d3dMaterial.ambient.b, 1.0f);
    EXPECT_EQ(material->d3dMaterial.ambient.a, 0.0f);
    EXPECT_EQ(material->d3dMaterial.diffuse.r, 0.0f);
    EXPECT_EQ(material->d3dMaterial.power, 0.0f);
    EXPECT_EQ(material->texture, nullptr);
    EXPECT_EQ(library.material(1, 3), nullptr);
    EXPECT_EQ(library.material(2, 0), nullptr);
    EXPECT_EQ(library.material(-1, 0), nullptr);
}

TEST(Mesh, FacesReferToTheWorkingVertices) {
    Mesh mesh;
    mesh.allocateVertices(3);
    mesh.allocateFaces(1);
    EXPECT_EQ(mesh.vertexCount, 3);
    EXPECT_EQ(mesh.faceCount, 1);
    Face& face = mesh.faces[0];
    EXPECT_EQ(face.material, nullptr);
    EXPECT_EQ(face.u[2], 0.0f);
    face.corners[0] = &mesh.vertices[2];
    mesh.vertices[2] = {1, 2, 3};
    EXPECT_EQ(face.corners[0]->y, 2.0f);
    EXPECT_EQ(mesh.baseVertices[2].y, 0.0f);
}
