#include "tools/capture/soundtrack_player.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace capture {

namespace {

constexpr double volumeStep = 0.01;

uint32_t read32(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
           static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

uint16_t read16(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

void put32(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(value >> shift));
}

void put16(std::vector<uint8_t>& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void putTag(std::vector<uint8_t>& bytes, const char* tag) {
    for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<uint8_t>(tag[k]));
}

class RecordingLink : public platform::PlayerLink {
public:
    RecordingLink(const ShowClock& clock, std::vector<TimedCommand>& recorded) : clock(clock), recorded(recorded) {}
    void command(WPARAM id) override { recorded.push_back({clock.seconds(), id}); }

private:
    const ShowClock& clock;
    std::vector<TimedCommand>& recorded;
};

}  // namespace

std::optional<PcmSound> readWave(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    if (bytes.size() < 12 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF" ||
        std::string(bytes.begin() + 8, bytes.begin() + 12) != "WAVE")
        return std::nullopt;
    std::optional<PcmSound> sound;
    bool formatFound = false;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const std::string tag(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
        const size_t size = std::min<size_t>(read32(bytes, at + 4), bytes.size() - at - 8);
        const size_t body = at + 8;
        if (tag == "fmt " && size >= 16) {
            if (read16(bytes, body) != 1 || read16(bytes, body + 14) != 16) return std::nullopt;
            sound = PcmSound{static_cast<int>(read32(bytes, body + 4)), read16(bytes, body + 2), {}};
            formatFound = sound->channels > 0 && sound->sampleRate > 0;
        } else if (tag == "data" && formatFound) {
            for (size_t k = 0; k + 1 < size; k += 2) sound->samples.push_back(static_cast<int16_t>(read16(bytes, body + k)));
            return sound;
        }
        at = body + size + (size % 2);
    }
    return std::nullopt;
}

std::vector<uint8_t> waveBytes(const PcmSound& sound) {
    std::vector<uint8_t> bytes;
    const auto dataSize = static_cast<uint32_t>(sound.samples.size() * 2);
    const auto frameBytes = static_cast<uint16_t>(sound.channels * 2);
    putTag(bytes, "RIFF");
    put32(bytes, 36 + dataSize);
    putTag(bytes, "WAVE");
    putTag(bytes, "fmt ");
    put32(bytes, 16);
    put16(bytes, 1);
    put16(bytes, static_cast<uint16_t>(sound.channels));
    put32(bytes, static_cast<uint32_t>(sound.sampleRate));
    put32(bytes, static_cast<uint32_t>(sound.sampleRate) * frameBytes);
    put16(bytes, frameBytes);
    put16(bytes, 16);
    putTag(bytes, "data");
    put32(bytes, dataSize);
    for (int16_t sample : sound.samples) put16(bytes, static_cast<uint16_t>(sample));
    return bytes;
}

PcmSound renderPlayback(const PcmSound& soundtrack, const std::vector<TimedCommand>& commands, double seconds) {
    PcmSound out{soundtrack.sampleRate, soundtrack.channels, {}};
    const auto channels = static_cast<size_t>(soundtrack.channels);
    const auto frames = static_cast<size_t>(std::llround(seconds * soundtrack.sampleRate));
    out.samples.assign(frames * channels, 0);
    double volume = 1.0;
    std::optional<size_t> playingFrom;  // output frame where the soundtrack's frame 0 plays
    bool closed = false;
    size_t next = 0;
    for (size_t frame = 0; frame < frames; ++frame) {
        const double now = static_cast<double>(frame) / soundtrack.sampleRate;
        for (; next < commands.size() && commands[next].seconds <= now; ++next) {
            const TimedCommand& command = commands[next];
            if (command.id == platform::playerVolumeUp) volume = std::min(1.0, volume + volumeStep);
            if (command.id == platform::playerVolumeDown) volume = std::max(0.0, volume - volumeStep);
            if (command.id == platform::playerPlay && !playingFrom && !closed) playingFrom = frame;
            if (command.id == platform::playerClose) closed = true;
        }
        if (!playingFrom || closed) continue;
        const size_t source = (frame - *playingFrom) * channels;
        if (source + channels > soundtrack.samples.size()) continue;
        const double gain = volume * volume * volume;
        for (size_t channel = 0; channel < channels; ++channel)
            out.samples[frame * channels + channel] =
                static_cast<int16_t>(std::lround(soundtrack.samples[source + channel] * gain));
    }
    return out;
}

std::unique_ptr<platform::PlayerLink> CommandRecorder::link() {
    return std::make_unique<RecordingLink>(clock, recorded);
}

}  // namespace capture
