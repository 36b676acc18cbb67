#pragma once
// Drawing one frame of a scene: the camera placed, every mesh carried into
// camera space on the CPU, opaque faces drawn in batches of one material and
// transparent faces deferred to an alpha-blended pass at the end.

#include "scene/mesh.h"
#include "scene/scene.h"

// Between beginScene and endScene; advances the scene's currentFrame by one,
// back to 0 after the last frame.
void drawSceneFrame(Scene& scene);
// The frame drawSceneFrame draws next: currentFrame, or 0 when it lies
// outside the scene's tables.
int32_t sceneFrameToDraw(const Scene& scene);
// scene's currentFrame after draws more calls of drawSceneFrame, found
// without drawing.
int32_t sceneFrameAfter(const Scene& scene, int64_t draws);

// Each face to the opaque batch, or, when its material is not fully opaque, to
// the transparent pass.
void submitFaces(const Mesh& mesh);
void addOpaqueFace(const Face& face);
void flushOpaqueBatch();
void deferTransparentFace(const Face& face);
// Flushes the opaque batch first; does nothing more without deferred faces.
void drawTransparentFaces();
