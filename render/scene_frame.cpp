#include "render/scene_frame.h"

#include "base/process_state.h"
#include "render/camera_update.h"
#include "render/draw_batch.h"
#include "render/mesh_transform.h"
#include "scene/material_library.h"

namespace {

// D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1: 32 bytes a vertex.
struct SceneVertex {
    float x, y, z;
    float nx, ny, nz;  // always (0, 0, 1): lighting sees only the ambient
    float tu, tv;
};
constexpr DWORD sceneVertexFormat = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

constexpr uint16_t opaqueBatchCapacity = 500;
constexpr uint16_t opaqueFlushThreshold = 498;  // no room left for another face
constexpr uint16_t deferredFaceCapacity = 500;

SceneVertex opaqueVertices[opaqueBatchCapacity];
const Face* deferredFaces[deferredFaceCapacity];
SceneVertex transparentVertices[3 * deferredFaceCapacity];
const Material* transparentMaterial = nullptr;

void appendVertices(const Face& face, SceneVertex* vertices) {
    for (int k = 0; k < 3; ++k) {
        const Vector3& corner = *face.corners[k];
        vertices[k] = {corner.x, corner.y, corner.z, 0.0f, 0.0f, 1.0f, face.u[k], face.v[k]};
    }
}

void bindTexture(const Material* material) {
    if (material != nullptr && material->texture != nullptr && device != nullptr)
        device->SetTexture(0, material->texture->surface);
}

void draw(SceneVertex* vertices, uint16_t count) {
    if (device != nullptr) device->DrawPrimitive(D3DPT_TRIANGLELIST, sceneVertexFormat, vertices, count, 0);
}

void setRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    if (device != nullptr) device->SetRenderState(state, value);
}

}  // namespace

// A frame outside the scene's tables (a starting frame the file set beyond
// its last frame) is drawn as frame 0.
int32_t sceneFrameToDraw(const Scene& scene) {
    return scene.currentFrame >= 0 && scene.currentFrame < scene.frameCount ? scene.currentFrame : 0;
}

// From the first draw on, the frames run on from the one drawn first and wrap.
int32_t sceneFrameAfter(const Scene& scene, int64_t draws) {
    if (draws <= 0) return scene.currentFrame;
    if (scene.frameCount <= 0) return 0;
    return static_cast<int32_t>((sceneFrameToDraw(scene) + draws) % scene.frameCount);
}

void drawSceneFrame(Scene& scene) {
    const int32_t frame = sceneFrameToDraw(scene);
    if (scene.activeCamera != nullptr) {
        updateCamera(*scene.activeCamera, frame);
        for (Mesh* mesh : scene.meshes) {
            transformMesh(*mesh, frame, *scene.activeCamera);
            submitFaces(*mesh);
        }
        drawTransparentFaces();
    }
    scene.currentFrame = frame + 1 >= scene.frameCount ? 0 : frame + 1;
}

void submitFaces(const Mesh& mesh) {
    for (const Face& face : mesh.faces) {
        if (face.material != nullptr && face.material->opacity < 1.0f)
            deferTransparentFace(face);
        else
            addOpaqueFace(face);
    }
}

void addOpaqueFace(const Face& face) {
    if (face.material != drawBatch.opaqueMaterial) {
        flushOpaqueBatch();
        drawBatch.opaqueMaterial = face.material;
        bindTexture(face.material);
    }
    if (drawBatch.opaqueVertexCount >= opaqueFlushThreshold) flushOpaqueBatch();
    appendVertices(face, opaqueVertices + drawBatch.opaqueVertexCount);
    drawBatch.opaqueVertexCount += 3;
}

void flushOpaqueBatch() {
    draw(opaqueVertices, drawBatch.opaqueVertexCount);
    drawBatch.opaqueVertexCount = 0;
}

// A full list is drawn at once, as a pass of its own, so that any number of
// transparent faces fits; the opaque faces after it bind their texture again.
void deferTransparentFace(const Face& face) {
    if (drawBatch.deferredFaceCount == deferredFaceCapacity) {
        drawTransparentFaces();
        drawBatch.opaqueMaterial = nullptr;
    }
    deferredFaces[drawBatch.deferredFaceCount++] = &face;
}

void drawTransparentFaces() {
    flushOpaqueBatch();
    if (drawBatch.deferredFaceCount == 0) return;
    setRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    transparentMaterial = nullptr;
    setRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    setRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    uint16_t gathered = 0;
    for (uint16_t f = 0; f < drawBatch.deferredFaceCount; ++f) {
        const Face& face = *deferredFaces[f];
        if (face.material != transparentMaterial) {
            draw(transparentVertices, gathered);
            gathered = 0;
            transparentMaterial = face.material;
            bindTexture(face.material);
        }
        appendVertices(face, transparentVertices + gathered);
        gathered += 3;
    }
    draw(transparentVertices, gathered);
    drawBatch.deferredFaceCount = 0;
    setRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
    setRenderState(D3DRENDERSTATE_ZWRITEENABLE, TRUE);
    setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CW);
}
