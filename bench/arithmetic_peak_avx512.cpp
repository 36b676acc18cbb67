// Compiled with -mavx512f; called only where the processor has it.

#include <immintrin.h>

#include "bench/peak_loop.h"

double bench::avx512FmaPeak() {
    const __m512 scale = _mm512_set1_ps(0.999999f), offset = _mm512_set1_ps(1e-7f);
    return timedPeak(
        _mm512_set1_ps(1.0f), [&](__m512 a) { return _mm512_fmadd_ps(a, scale, offset); },
        [](__m512 a) { return _mm512_cvtss_f32(a); }, 32.0);
}
