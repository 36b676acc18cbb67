#pragma once
// The measuring loop shared by the arithmetic ceilings; each instruction set's
// file includes it under its own compiler flags.

#include <chrono>
#include <utility>

namespace bench {

constexpr int peakChains = 12;  // independent accumulators: more than latency times pipes
constexpr long peakRounds = 50'000'000;

// Floating-point operations per second of step, which does flopsPerStep on one
// accumulator.
// The chains are unrolled by hand so that every accumulator stays in a register.
template <typename Vector, typename Step, typename Reduce, size_t... chain>
double timedPeak(Vector start, Step step, Reduce reduce, double flopsPerStep, std::index_sequence<chain...>) {
    Vector accumulators[] = {(static_cast<void>(chain), start)...};
    const auto begin = std::chrono::steady_clock::now();
    for (long round = 0; round < peakRounds; ++round) ((accumulators[chain] = step(accumulators[chain])), ...);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    volatile float sink = (reduce(accumulators[chain]) + ...);
    static_cast<void>(sink);
    return flopsPerStep * sizeof...(chain) * static_cast<double>(peakRounds) / seconds;
}

template <typename Vector, typename Step, typename Reduce>
double timedPeak(Vector start, Step step, Reduce reduce, double flopsPerStep) {
    return timedPeak(start, step, reduce, flopsPerStep, std::make_index_sequence<peakChains>());
}

double avx2FmaPeak();
double avx512FmaPeak();

}  // namespace bench
