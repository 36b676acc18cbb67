// The frame cycle: begin, draw, end, flip, clear. Results are not looked at; a
// refused flip only drops that frame's presentation.

#include "base/display_state.h"
#include "base/process_state.h"
#include "render/draw_batch.h"
#include "render/renderer.h"

void Renderer::clear() {
    if (device == nullptr) return;
    device->Clear(1, &clearRect, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00000000, 1.0f, 0);
}

void Renderer::beginScene() {
    resetBatchCounts(drawBatch);
    if (device != nullptr) device->BeginScene();
}

// The first opaque face of the next frame binds its texture again.
void Renderer::endScene() {
    resetBatchCounts(drawBatch);
    if (device != nullptr) device->EndScene();
    drawBatch.opaqueMaterial = nullptr;
}

void Renderer::flip() {
    if (primarySurface != nullptr) primarySurface->Flip(nullptr, flipFlags);
    ++framesPresented;
}
