// The render states set once after loading, and those a scene sets when it is
// loaded: ambient, fog and projection.

#include <cmath>

#include "base/bit_cast.h"
#include "base/log.h"
#include "base/process_state.h"
#include "render/renderer.h"
#include "scene/scene.h"

namespace {

constexpr DWORD fogColour = 12345;  // 0x00003039: red 0x00, green 0x30, blue 0x39
constexpr float defaultFieldOfView = 1.57f;
constexpr float sceneNearPlane = 1.0f, sceneFarPlane = 4200.0f, sceneAspect = 1.0f;

void setFogStates(IDirect3DDevice7* target, const Scene& scene) {
    target->SetRenderState(D3DRENDERSTATE_FOGENABLE, TRUE);
    target->SetRenderState(D3DRENDERSTATE_FOGCOLOR, fogColour);
    target->SetRenderState(D3DRENDERSTATE_FOGTABLEMODE, static_cast<DWORD>(scene.fogMode));
    target->SetRenderState(D3DRENDERSTATE_FOGVERTEXMODE, D3DFOG_NONE);
    target->SetRenderState(D3DRENDERSTATE_FOGSTART, bitCast<DWORD>(scene.fogStart));
    target->SetRenderState(D3DRENDERSTATE_FOGEND, bitCast<DWORD>(scene.fogEnd));
    target->SetRenderState(D3DRENDERSTATE_FOGDENSITY, bitCast<DWORD>(scene.fogDensity));
}

// Entry 0 of the active camera's field of view; a scene without one (or
// without a camera) is seen at the default camera's 1.57.
float sceneFieldOfView(const Scene& scene) {
    if (scene.activeCamera == nullptr || scene.activeCamera->fieldOfView.empty()) return defaultFieldOfView;
    return scene.activeCamera->fieldOfView[0];
}

}  // namespace

void Renderer::setDefaultRenderStates() {
    if (device == nullptr) return;
    D3DMATERIAL7 material{};
    material.ambient = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 0.0f};
    device->SetMaterial(&material);
    device->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRENDERSTATE_DITHERENABLE, TRUE);
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CW);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    device->SetTexture(0, nullptr);
}

// The tests against 0.01 are made in double precision on the widened float,
// as the trigonometry is.
HRESULT Renderer::buildProjectionMatrix(D3DMATRIX& matrix, float fieldOfView, float aspect, float nearPlane,
                                        float farPlane) {
    const double threshold = 0.01f;
    if (std::fabs(double(farPlane - nearPlane)) < threshold) return E_INVALIDARG;
    double halfAngle = fieldOfView / 2;
    if (std::fabs(std::sin(halfAngle)) < threshold) return E_INVALIDARG;
    double c = std::cos(halfAngle) / std::sin(halfAngle);
    float q = farPlane / (farPlane - nearPlane);
    matrix = D3DMATRIX{};
    matrix._11 = static_cast<float>(aspect * c);
    matrix._22 = static_cast<float>(c);
    matrix._33 = q;
    matrix._34 = 1.0f;
    matrix._43 = -q * nearPlane;
    return S_OK;
}

// A refused projection falls back to the default field of view, so the device
// never receives a matrix nobody built.
void Renderer::applySceneRenderStates(Scene& scene) {
    Vector3 ambient = scene.ambientColour.value_or(Vector3{});
    logFormat("ambiant : %f %f %f \n", ambient.x, ambient.y, ambient.z);
    if (device == nullptr) return;
    device->SetRenderState(D3DRENDERSTATE_AMBIENT, 0xFFFFFFFF);
    if (scene.fogMode != 0) setFogStates(device, scene);
    D3DMATRIX projection{};
    if (FAILED(buildProjectionMatrix(projection, sceneFieldOfView(scene), sceneAspect, sceneNearPlane, sceneFarPlane)))
        buildProjectionMatrix(projection, defaultFieldOfView, sceneAspect, sceneNearPlane, sceneFarPlane);
    device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &projection);
}
