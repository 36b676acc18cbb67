#include "tools/make_datas/soundtrack.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "tools/make_datas/noise.h"

namespace datas {

namespace {

constexpr double twoPi = 2.0 * std::numbers::pi;

// Roots of the four chords, one per bar: A, F, C, G.
constexpr std::array<double, 4> chordRoots = {55.0, 43.65, 65.41, 49.0};
// The lead's sixteen eighth notes over two bars, in semitones above A4 (-99 rests).
constexpr std::array<int, 16> melodyA = {0, -99, 3, 7, 12, -99, 10, 7, 5, -99, 3, 5, 7, -99, 3, 0};
constexpr std::array<int, 16> melodyB = {-4, -99, 0, 3, 8, -99, 7, 3, -2, -99, 2, 5, 7, 10, 12, -99};

double noteFrequency(int semitones) { return 440.0 * std::pow(2.0, semitones / 12.0); }

double kick(double t) {
    if (t < 0.0 || t > 0.4) return 0.0;
    const double phase = twoPi * (45.0 * t + (150.0 - 45.0) * (1.0 - std::exp(-t * 30.0)) / 30.0);
    return std::sin(phase) * std::exp(-t * 9.0);
}

double noiseAt(int64_t sample) {
    return latticeValue(static_cast<int32_t>(sample), static_cast<int32_t>(sample >> 31), 7) * 2.0 - 1.0;
}

double hat(double t, int64_t sample) { return t < 0.0 || t > 0.08 ? 0.0 : noiseAt(sample) * std::exp(-t * 70.0); }

double clap(double t, int64_t sample) {
    if (t < 0.0 || t > 0.25) return 0.0;
    return (noiseAt(sample + 99991) * 0.8 + std::sin(twoPi * 190.0 * t) * 0.4) * std::exp(-t * 18.0);
}

// A 5 ms attack keeps each note from starting with a click.
double attack(double t) { return std::min(1.0, t * 200.0); }

double saw(double phase) { return 2.0 * (phase - std::floor(phase + 0.5)); }

double square(double phase) { return phase - std::floor(phase) < 0.5 ? 1.0 : -1.0; }

}  // namespace

Soundtrack synthesiseTheme(double seconds, int sampleRate) {
    Soundtrack soundtrack{sampleRate, {}};
    const auto frames = static_cast<int64_t>(seconds * sampleRate);
    soundtrack.samples.reserve(static_cast<size_t>(frames) * 2);
    const double beat = 60.0 / themeTempo, bar = 4.0 * beat, eighth = beat / 2.0;
    double bassFiltered = 0.0;
    for (int64_t sample = 0; sample < frames; ++sample) {
        const double t = static_cast<double>(sample) / sampleRate;
        const auto barIndex = static_cast<int64_t>(t / bar);
        const double inBeat = std::fmod(t, beat), inEighth = std::fmod(t, eighth), inBar = std::fmod(t, bar);
        const double root = chordRoots[static_cast<size_t>(barIndex % 4)];
        // Drums: the clap enters with the second phrase.
        double drums = kick(inBeat) * 0.9 + hat(std::fmod(t + beat / 2.0, beat), sample) * 0.18;
        if (barIndex >= 8) drums += clap(std::fmod(t + beat, 2.0 * beat), sample) * 0.35;
        // Bass: eighths on the root, octave up on the off-beats, low-passed.
        const auto eighthIndex = static_cast<int64_t>(t / eighth);
        const double bassNote = root * (eighthIndex % 2 == 1 ? 2.0 : 1.0);
        const double bassRaw = saw(bassNote * t) * std::exp(-inEighth * 6.0) * attack(inEighth);
        bassFiltered += (bassRaw - bassFiltered) * 0.08;
        // Lead from bar 4 on, with a light vibrato.
        double lead = 0.0;
        if (barIndex >= 4) {
            const auto& melody = (barIndex / 2) % 4 == 3 ? melodyB : melodyA;
            const int note = melody[static_cast<size_t>(static_cast<int64_t>(std::fmod(t, 2.0 * bar) / eighth) % 16)];
            if (note != -99) {
                const double frequency = noteFrequency(note) * (1.0 + 0.004 * std::sin(twoPi * 5.5 * t));
                lead = (square(frequency * t) * 0.5 + saw(frequency * 1.005 * t) * 0.5) * std::exp(-inEighth * 5.0) * attack(inEighth);
            }
        }
        // A soft pad on the chord's fifth and tenth holds the harmony.
        const double pad = (std::sin(twoPi * root * 3.0 * t) + std::sin(twoPi * root * 4.8 * t)) * 0.5 *
                           (0.6 + 0.4 * std::sin(twoPi * inBar / bar));
        const double centre = drums + bassFiltered * 0.55 + pad * 0.06;
        const double left = centre + lead * 0.16, right = centre + lead * 0.10;
        for (double value : {left, right})
            soundtrack.samples.push_back(static_cast<int16_t>(std::lround(std::clamp(value * 0.5, -1.0, 1.0) * 32767.0)));
    }
    return soundtrack;
}

image_writers::Bytes waveFile(const Soundtrack& soundtrack) {
    image_writers::Bytes bytes;
    const auto put32 = [&](uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(value >> shift));
    };
    const auto put16 = [&](uint16_t value) {
        bytes.push_back(static_cast<uint8_t>(value));
        bytes.push_back(static_cast<uint8_t>(value >> 8));
    };
    const auto tag = [&](const char* text) {
        for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<uint8_t>(text[k]));
    };
    const auto dataSize = static_cast<uint32_t>(soundtrack.samples.size() * 2);
    const auto rate = static_cast<uint32_t>(soundtrack.sampleRate);
    tag("RIFF");
    put32(36 + dataSize);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);  // PCM
    put16(2);  // channels
    put32(rate);
    put32(rate * 4);  // bytes per second
    put16(4);         // bytes per sample frame
    put16(16);        // bits per sample
    tag("data");
    put32(dataSize);
    for (int16_t sample : soundtrack.samples) put16(static_cast<uint16_t>(sample));
    return bytes;
}

}  // namespace datas
