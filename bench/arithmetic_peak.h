#pragma once
// The core's arithmetic ceilings, measured: single-precision multiply-adds
// with enough independent chains to hide their latency, one figure per
// instruction set. On x86-64 the engine is built for the plain architecture,
// so its code can use at most the 4-wide SSE figure; the wider ones say what
// the machine could do. Other processors get the scalar figure alone.

#include <string>
#include <vector>

namespace bench {

struct Peak {
    std::string instructions;
    double flops;  // floating-point operations per second; a multiply and an add count as two
};

std::vector<Peak> measuredPeaks();

}  // namespace bench
