#pragma once
// The scene drawing's batch state: the opaque batch and the deferred
// transparent faces. The frame cycle empties it at both ends of every scene.

#include <cstdint>

class Material;

struct DrawBatch {
    uint16_t opaqueVertexCount = 0;
    uint16_t deferredFaceCount = 0;
    const Material* opaqueMaterial = nullptr;  // the material of the opaque batch's vertices
};

extern DrawBatch drawBatch;

// Empties the opaque batch and the deferred list; the batch's material stays.
void resetBatchCounts(DrawBatch& batch);
