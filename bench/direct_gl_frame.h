#pragma once
// The synthetic frame drawn with plain OpenGL calls that set the same state
// and draw the same geometry: the floor of what this machine's OpenGL can do.

#include <cstdint>
#include <memory>
#include <vector>

#include "bench/synthetic_frame.h"

namespace bench {

class DirectGlFrame {
    struct State;

public:
    // Null when no off-screen OpenGL context can be had.
    static std::unique_ptr<DirectGlFrame> create(const SyntheticFrame& frame);
    explicit DirectGlFrame(std::unique_ptr<State> state);
    ~DirectGlFrame();

    // One frame, finished; the thread's CPU time from the first state change
    // to the last draw call goes to drawNanoseconds.
    void draw();
    // The frame as 8-bit RGB, top row first.
    std::vector<uint8_t> read();

    uint64_t drawNanoseconds = 0;

private:
    std::unique_ptr<State> state;
};

}  // namespace bench
