#pragma once
// The demo's theme, synthesised: a kick on every beat, hats between, a
// clap from the second phrase, a sawtooth bass and a square-wave lead over
// four chords in A minor. Stereo, 16-bit.

#include <cstdint>
#include <vector>

#include "tools/image_writers/image_writers.h"

namespace datas {

struct Soundtrack {
    int sampleRate = 44100;
    std::vector<int16_t> samples;  // left, right, left, right, ...
    double seconds() const { return static_cast<double>(samples.size() / 2) / sampleRate; }
};

constexpr double themeTempo = 125.0;  // beats per minute

Soundtrack synthesiseTheme(double seconds, int sampleRate = 44100);
// A RIFF WAVE file of the samples (PCM, 2 channels, 16 bits).
image_writers::Bytes waveFile(const Soundtrack& soundtrack);

}  // namespace datas
