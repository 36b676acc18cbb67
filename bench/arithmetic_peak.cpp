#include "bench/arithmetic_peak.h"

#include "bench/peak_loop.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace bench {

namespace {

#if defined(__x86_64__)
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

// The wider sets are compiled in files of their own and run only where the
// processor has them.
void addVectorPeaks(std::vector<Peak>& peaks) {
    peaks.push_back({"4-wide SSE", ssePeak()});
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        peaks.push_back({"8-wide AVX2 FMA", avx2FmaPeak()});
    if (__builtin_cpu_supports("avx512f")) peaks.push_back({"16-wide AVX-512 FMA", avx512FmaPeak()});
}
#else
// Plain C++ floats: what this processor's compiler makes of a multiply and an add.
double scalarPeak() {
    const float scale = 0.999999f, offset = 1e-7f;
    return timedPeak(1.0f, [&](float a) { return a * scale + offset; }, [](float a) { return a; }, 2.0);
}

void addVectorPeaks(std::vector<Peak>&) {}
#endif

}  // namespace

std::vector<Peak> measuredPeaks() {
    std::vector<Peak> peaks = {{"scalar", scalarPeak()}};
    addVectorPeaks(peaks);
    return peaks;
}

}  // namespace bench
