#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/tool_interface.h"
#include "render/draw_batch.h"
#include "render/renderer.h"
#include "scene/camera.h"
#include "scene/scene.h"
#include "tests/support/null_display.h"
#include "tests/support/test_support.h"

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::FloatNear;
using testing_support::bits;
using testing_support::callsNamed;
using testing_support::callTexts;
using testing_support::LogCapture;
using testing_support::NullDriverScope;

namespace {

// A renderer set up on the null driver, its set-up calls forgotten.
class RenderStates : public testing::Test {
protected:
    void SetUp() override {
        renderer.setUp();
        platform::clearNullDriverCalls();
        setUpLogLength = log.text().size();
    }

    std::string logSinceSetUp() const { return log.text().substr(setUpLogLength); }

    D3DMATRIX projectionSet() const {
        std::vector<platform::RecordedCall> transforms = callsNamed("SetTransform");
        EXPECT_EQ(transforms.size(), 1u);
        EXPECT_EQ(transforms.at(0).arguments.at(0), D3DTRANSFORMSTATE_PROJECTION);
        return transforms.at(0).payloadAs<D3DMATRIX>().at(0);
    }

    LogCapture log;
    NullDriverScope driver;
    Renderer renderer;
    Scene scene{nullptr, nullptr};
    size_t setUpLogLength = 0;
};

}  // namespace

TEST(ProjectionMatrix, EntriesWorkedOutByHand) {
    struct Case {
        float fieldOfView, aspect, nearPlane, farPlane;
        float m11, m22, m33, m43;
    };
    const Case cases[] = {
        // cot(0.785) = 1.0007966; 4200 / 4199 = 1.0002382
        {1.57f, 1.0f, 1.0f, 4200.0f, 1.0007966f, 1.0007966f, 1.0002382f, -1.0002382f},
        // cot(0.5) = 1.8304877; 12 / 10 = 1.2
        {1.0f, 0.75f, 2.0f, 12.0f, 1.3728658f, 1.8304877f, 1.2f, -2.4f},
        // sin(0.01005) = 0.0100498, just above the limit
        {0.0201f, 1.0f, 1.0f, 2.0f, 99.49917f, 99.49917f, 2.0f, -2.0f},
    };
    for (const Case& c : cases) {
        D3DMATRIX matrix;
        std::fill_n(&matrix._11, 16, 42.0f);
        ASSERT_EQ(Renderer::buildProjectionMatrix(matrix, c.fieldOfView, c.aspect, c.nearPlane, c.farPlane), S_OK);
        const float expected[16] = {c.m11, 0, 0, 0, 0, c.m22, 0, 0, 0, 0, c.m33, 1.0f, 0, 0, c.m43, 0};
        for (int i = 0; i < 16; ++i)
            EXPECT_THAT((&matrix._11)[i], FloatNear(expected[i], 2e-6f * std::max(1.0f, std::fabs(expected[i]))))
                << "fov " << c.fieldOfView << " entry " << i;
    }
}

TEST(ProjectionMatrix, RefusalLeavesTheMatrixUntouched) {
    struct Case {
        float fieldOfView, nearPlane, farPlane;
    };
    // Equal planes, planes 0.005 apart, no angle, sin(0.0095) below 0.01, a full turn.
    for (Case c : {Case{1.57f, 1.0f, 1.0f}, Case{1.57f, 1.0f, 1.005f}, Case{0.0f, 1.0f, 4200.0f},
                   Case{0.019f, 1.0f, 4200.0f}, Case{6.2831f, 1.0f, 4200.0f}}) {
        D3DMATRIX matrix;
        std::fill_n(&matrix._11, 16, 42.0f);
        EXPECT_EQ(Renderer::buildProjectionMatrix(matrix, c.fieldOfView, 1.0f, c.nearPlane, c.farPlane),
                  static_cast<HRESULT>(0x80070057))
            << c.fieldOfView << " " << c.nearPlane << " " << c.farPlane;
        EXPECT_TRUE(std::all_of(&matrix._11, &matrix._11 + 16, [](float value) { return value == 42.0f; }));
    }
}

TEST_F(RenderStates, DefaultStatesInOrder) {
    renderer.setDefaultRenderStates();
    EXPECT_THAT(callTexts(),
                ElementsAre("IDirect3DDevice7::SetMaterial()", "IDirect3DDevice7::SetRenderState(7, 1)",
                            "IDirect3DDevice7::SetRenderState(26, 1)", "IDirect3DDevice7::SetRenderState(22, 2)",
                            "IDirect3DDevice7::SetTextureStageState(0, 16, 2)", "IDirect3DDevice7::SetTexture(0, 0)"));
    D3DMATERIAL7 material = callsNamed("SetMaterial")[0].payloadAs<D3DMATERIAL7>().at(0);
    const float expected[17] = {0, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_THAT(std::vector<float>(&material.diffuse.r, &material.diffuse.r + 17), ElementsAreArray(expected));
}

TEST_F(RenderStates, FogSceneSetsAmbientThenTheSevenFogStatesThenTheProjection) {
    scene.ambientColour = Vector3{0.2f, 0.2f, 0.2f};
    scene.fogMode = D3DFOG_LINEAR;
    scene.fogStart = 100.0f;
    scene.fogEnd = 900.0f;
    Renderer::applySceneRenderStates(scene);
    EXPECT_EQ(logSinceSetUp(), "ambiant : 0.200000 0.200000 0.200000 \n");
    std::vector<std::vector<uint64_t>> states;
    for (const platform::RecordedCall& call : callsNamed("SetRenderState")) states.push_back(call.arguments);
    EXPECT_THAT(states, ElementsAre(ElementsAre(139, 0xFFFFFFFF), ElementsAre(28, 1), ElementsAre(34, 12345),
                                    ElementsAre(35, 3), ElementsAre(140, 0), ElementsAre(36, bits(100.0f)),
                                    ElementsAre(37, bits(900.0f)), ElementsAre(38, bits(0.0f))));
    EXPECT_EQ(platform::nullDriverCalls().back().method, "SetTransform");
}

TEST_F(RenderStates, SceneWithoutFogOrAmbientOrCameraGetsAmbientAndTheDefaultProjection) {
    Renderer::applySceneRenderStates(scene);
    EXPECT_EQ(logSinceSetUp(), "ambiant : 0.000000 0.000000 0.000000 \n");
    ASSERT_EQ(callsNamed("SetRenderState").size(), 1u);
    EXPECT_THAT(projectionSet()._22, FloatNear(1.0007966f, 1e-6f));
}

TEST_F(RenderStates, ProjectionComesFromTheActiveCameraOrFallsBackTo157) {
    struct Case {
        std::vector<float> fieldOfView;
        float m22;
    };
    // cot(0.5) for a 1.0 field of view; an empty list or a refused angle fall back to 1.57.
    for (const Case& c : {Case{{1.0f, 2.0f}, 1.8304877f}, Case{{}, 1.0007966f}, Case{{0.0f}, 1.0007966f}}) {
        Camera camera;
        camera.fieldOfView = c.fieldOfView;
        scene.activeCamera = &camera;
        platform::clearNullDriverCalls();
        Renderer::applySceneRenderStates(scene);
        D3DMATRIX projection = projectionSet();
        EXPECT_THAT(projection._22, FloatNear(c.m22, 1e-6f));
        EXPECT_THAT(projection._11, FloatNear(c.m22, 1e-6f));  // aspect 1.0
        EXPECT_THAT(projection._43, FloatNear(-1.0002382f, 1e-6f));
    }
    scene.activeCamera = nullptr;
}

TEST_F(RenderStates, FrameCycleClearsTheRectangleAndEmptiesTheBatch) {
    Material material;
    drawBatch = DrawBatch{12, 3, &material};
    renderer.beginScene();
    EXPECT_EQ(drawBatch.opaqueVertexCount, 0);
    EXPECT_EQ(drawBatch.deferredFaceCount, 0);
    EXPECT_EQ(drawBatch.opaqueMaterial, &material);  // kept through the frame
    drawBatch.opaqueVertexCount = 9;
    renderer.endScene();
    EXPECT_EQ(drawBatch.opaqueVertexCount, 0);
    EXPECT_EQ(drawBatch.opaqueMaterial, nullptr);
    renderer.clear();
    EXPECT_THAT(callTexts(), ElementsAre("IDirect3DDevice7::BeginScene()", "IDirect3DDevice7::EndScene()",
                                         "IDirect3DDevice7::Clear(1, 3, 0, " + std::to_string(bits(1.0f)) + ", 0)"));
    D3DRECT cleared = callsNamed("Clear")[0].payloadAs<D3DRECT>().at(0);
    EXPECT_THAT(std::vector<LONG>({cleared.x1, cleared.y1, cleared.x2, cleared.y2}), ElementsAre(0, 0, 640, 480));
}
