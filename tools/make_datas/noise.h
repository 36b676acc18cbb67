#pragma once
// Deterministic value noise for procedural content: the same inputs give the
// same bits on every run, so generated files are byte-identical.

#include <cstdint>

namespace datas {

// A hash of integer lattice coordinates and a seed, mapped to [0, 1).
float latticeValue(int32_t x, int32_t y, uint32_t seed);
// Smoothly interpolated lattice values at (x, y), in [0, 1).
float valueNoise(float x, float y, uint32_t seed);
// Octaves of value noise, each of half the amplitude and twice the frequency,
// normalised back to [0, 1). With period > 0 the pattern tiles every period
// units at the first octave.
float fractalNoise(float x, float y, int octaves, uint32_t seed, int period = 0);

}  // namespace datas
