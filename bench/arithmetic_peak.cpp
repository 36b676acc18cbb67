#include "bench/arithmetic_peak.h"

#include <immintrin.h>

#include "bench/peak_loop.h"

namespace bench {

namespace {

double scalarPeak() {
    const __m128 scale = _mm_set1_ps(0.999999f), offset = _mm_set1_ps(1e-7f);
    return timedPeak(
        _mm_set1_ps(1.0f), [&](__m128 a) { return _mm_add_ss(_mm_mul_ss(a, scale), offset); },
        [](__m128 a) { return _mm_cvtss_f32(a); }, 2.0);
}

double ssePeak() {
    const __m128 scale = _mm_set1_ps(0.999999f), offset = _mm_set1_ps(1e-7f);
    return timedPeak(
        _mm_set1_ps(1.0f), [&](__m128 a) { return _mm_add_ps(_mm_mul_ps(a, scale), offset); },
        [](__m128 a) { return _mm_cvtss_f32(a); }, 8.0);
}

}  // namespace

std::vector<Peak> measuredPeaks() {
    std::vector<Peak> peaks = {{"scalar SSE", scalarPeak()}, {"4-wide SSE", ssePeak()}};
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        peaks.push_back({"8-wide AVX2 FMA", avx2FmaPeak()});
    if (__builtin_cpu_supports("avx512f")) peaks.push_back({"16-wide AVX-512 FMA", avx512FmaPeak()});
    return peaks;
}

}  // namespace bench
