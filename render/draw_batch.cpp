#include "render/draw_batch.h"

DrawBatch drawBatch;

void resetBatchCounts(DrawBatch& batch) {
    batch.opaqueVertexCount = 0;
    batch.deferredFaceCount = 0;
}
