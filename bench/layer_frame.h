#pragma once
// The synthetic frame drawn through our Direct3D 7 layer on the capture driver,
// the way the engine draws: Renderer set-up, scene states, batches, overlays.

#include <cstdint>
#include <memory>

#include "bench/synthetic_frame.h"

namespace bench {

class LayerFrame {
public:
    explicit LayerFrame(const SyntheticFrame& frame);
    ~LayerFrame();
    LayerFrame(const LayerFrame&) = delete;
    LayerFrame& operator=(const LayerFrame&) = delete;

    // One frame, presented; the thread's CPU time from the first state change
    // to the last draw call is added to drawNanoseconds.
    void draw();

    uint64_t drawNanoseconds = 0;

private:
    struct State;
    std::unique_ptr<State> state;
};

}  // namespace bench
