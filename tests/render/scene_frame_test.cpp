// Scene frames on the null driver: what reaches the device, call by call.

#include "render/scene_frame.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/display_state.h"
#include "base/process_state.h"
#include "platform/tool_interface.h"
#include "render/renderer.h"
#include "tests/support/null_display.h"
#include "tests/support/scene_vertex.h"
#include "tests/support/test_support.h"

using testing::ElementsAre;
using testing_support::callsNamed;
using testing_support::Vertex;

namespace {

class SceneFrame : public testing::Test {
protected:
    void SetUp() override {
        renderer.setUp();
        camera.rotation.setIdentity();
        camera.position = {0, 0, -5};
        scene.activeCamera = &camera;
        scene.frameCount = 1;
    }

    // A material of its own texture surface; opacity below 1 makes it transparent.
    Material* material(float opacity, bool textured = true) {
        auto made = std::make_unique<Material>();
        made->opacity = opacity;
        if (textured) {
            made->texture = std::make_unique<Texture>("t.tga");
            made->texture->surface = Renderer::createTextureSurface(textureFormat, 8, 8);
        }
        materials.push_back(std::move(made));
        return materials.back().get();
    }

    // A mesh of faceCount faces over one triangle, the material of face k
    // given by pick(k).
    Mesh& mesh(int faceCount, const std::function<Material*(int)>& pick) {
        Mesh* made = scene.adopt(std::make_unique<Mesh>());
        made->kind = kindMesh;
        made->allocateVertices(3);
        made->baseVertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        made->allocateFaces(faceCount);
        for (int k = 0; k < faceCount; ++k) {
            Face& face = made->faces[static_cast<size_t>(k)];
            for (int c = 0; c < 3; ++c) face.corners[c] = &made->vertices[static_cast<size_t>(c)];
            face.material = pick(k);
        }
        scene.meshes.push_back(made);
        return *made;
    }

    // One frame as the demo draws it, its calls recorded from the scene's start.
    void drawFrame() {
        renderer.beginScene();
        platform::clearNullDriverCalls();
        drawSceneFrame(scene);
        renderer.endScene();
    }

    static std::vector<uint64_t> drawSizes(bool nonEmptyOnly = true) {
        std::vector<uint64_t> sizes;
        for (const platform::RecordedCall& call : callsNamed("DrawPrimitive"))
            if (!nonEmptyOnly || call.arguments.at(2) > 0) sizes.push_back(call.arguments.at(2));
        return sizes;
    }

    // The device calls of the frame, by method name, DrawPrimitive with its size.
    static std::vector<std::string> callSequence() {
        std::vector<std::string> sequence;
        for (const platform::RecordedCall& call : platform::nullDriverCalls()) {
            if (call.method == "DrawPrimitive")
                sequence.push_back("draw " + std::to_string(call.arguments.at(2)));
            else if (call.method == "SetRenderState")
                sequence.push_back(std::to_string(call.arguments.at(0)) + "=" + std::to_string(call.arguments.at(1)));
            else if (call.method == "SetTexture")
                sequence.push_back("texture");
            else if (call.method != "EndScene")
                sequence.push_back(std::string(call.method));
        }
        return sequence;
    }

    testing_support::LogCapture log;
    testing_support::NullDriverScope driver;
    Renderer renderer;
    Scene scene{nullptr, nullptr};
    Camera camera;
    std::vector<std::unique_ptr<Material>> materials;
};

}  // namespace

TEST_F(SceneFrame, FacesSharingAMaterialGoInBatchesOfAtMost498Vertices) {
    Material* shared = material(1.0f);
    mesh(200, [&](int) { return shared; });
    drawFrame();
    EXPECT_EQ(drawSizes(), (std::vector<uint64_t>{498, 102}));
    const std::vector<platform::RecordedCall> textures = callsNamed("SetTexture");
    ASSERT_EQ(textures.size(), 1u);
    EXPECT_EQ(textures[0].arguments.at(1), reinterpret_cast<uint64_t>(shared->texture->surface));
    EXPECT_THAT(callSequence(), ElementsAre("draw 0", "texture", "draw 498", "draw 102"));
}

TEST_F(SceneFrame, AlternatingMaterialsDrawEveryFaceOnItsOwn) {
    Material* first = material(1.0f);
    Material* second = material(1.0f);
    mesh(6, [&](int k) { return k % 2 ? second : first; });
    drawFrame();
    EXPECT_EQ(drawSizes(), (std::vector<uint64_t>(6, 3)));
    EXPECT_EQ(callsNamed("SetTexture").size(), 6u);
}

TEST_F(SceneFrame, MaterialsWithoutTextureLeaveTheStageAndFacesWithoutMaterialAreOpaque) {
    Material* plain = material(1.0f, false);
    mesh(4, [&](int k) { return k < 2 ? plain : nullptr; });
    drawFrame();
    EXPECT_THAT(callSequence(), ElementsAre("draw 0", "draw 6", "draw 6"));
}

TEST_F(SceneFrame, TransparentFacesAreDrawnLastWithBlendingAndNoCulling) {
    Material* glass = material(0.5f);
    Material* solid = material(1.0f);
    mesh(3, [&](int k) { return k == 1 ? solid : glass; });
    drawFrame();
    EXPECT_THAT(callSequence(),
                ElementsAre("draw 0", "texture", "draw 3",  // the opaque face, then the pass of the other two
                            "27=1", "19=5", "20=6", "22=1", "draw 0", "texture", "draw 6", "27=0", "14=1", "22=2"));
    const std::vector<Vertex> sent = callsNamed("DrawPrimitive").back().payloadAs<Vertex>();
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(sent[1].x, 1.0f);
    EXPECT_EQ(sent[1].z, 5.0f) << "camera space";
    EXPECT_EQ(sent[1].nz, 1.0f);
    EXPECT_EQ(callsNamed("DrawPrimitive").back().arguments.at(1), 0x112u);
}

TEST_F(SceneFrame, MoreThanFiveHundredTransparentFacesAreDrawnInSeveralPasses) {
    Material* glass = material(0.5f);
    Material* solid = material(1.0f);
    mesh(1201, [&](int k) { return k == 1200 ? solid : glass; });
    drawFrame();
    EXPECT_EQ(drawSizes(), (std::vector<uint64_t>{1500, 1500, 3, 600}));
    EXPECT_EQ(callsNamed("SetRenderState").size(), 3 * 7u);
    EXPECT_EQ(callsNamed("SetTexture").size(), 4u) << "the opaque face after a pass binds its texture again";
}

TEST_F(SceneFrame, FrameCountAdvancesAndWraps) {
    mesh(1, [](int) { return nullptr; });
    scene.frameCount = 3;
    std::vector<int32_t> frames;
    for (int call = 0; call < 5; ++call) {
        drawSceneFrame(scene);
        frames.push_back(scene.currentFrame);
    }
    EXPECT_EQ(frames, (std::vector<int32_t>{1, 2, 0, 1, 2}));
    scene.currentFrame = 7;  // a starting frame beyond the scene is taken as 0
    drawSceneFrame(scene);
    EXPECT_EQ(scene.currentFrame, 1);
}

TEST_F(SceneFrame, FrameAfterManyDrawsIsFoundWithoutDrawing) {
    mesh(1, [](int) { return nullptr; });
    struct Case {
        int32_t frameCount, start;
    };
    // In range, beyond the tables, negative, and scenes of one frame or none.
    for (const Case& c : {Case{3, 0}, Case{3, 2}, Case{10, 7}, Case{3, 7}, Case{4, -2}, Case{1, 0}, Case{0, 0},
                          Case{-4, 3}}) {
        scene.frameCount = c.frameCount;
        for (int64_t draws : {0, 1, 2, 3, 7, 31}) {
            scene.currentFrame = c.start;
            const int32_t found = sceneFrameAfter(scene, draws);
            for (int64_t n = 0; n < draws; ++n) drawSceneFrame(scene);
            EXPECT_EQ(found, scene.currentFrame) << c.frameCount << " frames from " << c.start << ", " << draws;
        }
    }
}
