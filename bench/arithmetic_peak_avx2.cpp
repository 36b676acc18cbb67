// Compiled with -mavx2 -mfma; called only where the processor has both.

#include <immintrin.h>

#include "bench/peak_loop.h"

double bench::avx2FmaPeak() {
    const __m256 scale = _mm256_set1_ps(0.999999f), offset = _mm256_set1_ps(1e-7f);
    return timedPeak(
        _mm256_set1_ps(1.0f), [&](__m256 a) { return _mm256_fmadd_ps(a, scale, offset); },
        [](__m256 a) { return _mm256_cvtss_f32(a); }, 16.0);
}
