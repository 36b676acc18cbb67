#include "tools/make_datas/noise.h"

#include <cmath>

namespace datas {

namespace {

uint32_t mix(uint32_t value) {
    value ^= value >> 16;
    value *= 0x7FEB352Du;
    value ^= value >> 15;
    value *= 0x846CA68Bu;
    value ^= value >> 16;
    return value;
}

float smooth(float t) { return t * t * (3.0f - 2.0f * t); }

int32_t wrap(int32_t value, int period) {
    if (period <= 0) return value;
    const int32_t remainder = value % period;
    return remainder < 0 ? remainder + period : remainder;
}

float periodicNoise(float x, float y, uint32_t seed, int period) {
    const float fx = std::floor(x), fy = std::floor(y);
    const auto x0 = static_cast<int32_t>(fx), y0 = static_cast<int32_t>(fy);
    const float tx = smooth(x - fx), ty = smooth(y - fy);
    const float a = latticeValue(wrap(x0, period), wrap(y0, period), seed);
    const float b = latticeValue(wrap(x0 + 1, period), wrap(y0, period), seed);
    const float c = latticeValue(wrap(x0, period), wrap(y0 + 1, period), seed);
    const float d = latticeValue(wrap(x0 + 1, period), wrap(y0 + 1, period), seed);
    const float top = a + (b - a) * tx;
    const float bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

}  // namespace

float latticeValue(int32_t x, int32_t y, uint32_t seed) {
    const uint32_t hash = mix(static_cast<uint32_t>(x) * 0x9E3779B1u ^ mix(static_cast<uint32_t>(y) + seed * 0x85EBCA77u));
    return static_cast<float>(hash >> 8) / 16777216.0f;
}

float valueNoise(float x, float y, uint32_t seed) { return periodicNoise(x, y, seed, 0); }

float fractalNoise(float x, float y, int octaves, uint32_t seed, int period) {
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f, scale = 1.0f;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += amplitude * periodicNoise(x * scale, y * scale, seed + static_cast<uint32_t>(octave) * 101u,
                                         period > 0 ? period * static_cast<int>(scale) : 0);
        total += amplitude;
        amplitude *= 0.5f;
        scale *= 2.0f;
    }
    return sum / total;
}

}  // namespace datas
