#include "tools/player/wave_file.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace player {
namespace {

uint32_t readU32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t readU16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

}  // namespace

double Soundtrack::seconds() const {
    return format.nAvgBytesPerSec == 0 ? 0.0 : double(samples.size()) / format.nAvgBytesPerSec;
}

// Chunks are walked with every length checked against what is left; a data
// chunk longer than the file (a recording cut short) keeps what is there.
std::variant<Soundtrack, std::string> parseWave(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return std::string("not a RIFF WAVE file");
    Soundtrack soundtrack;
    bool haveFormat = false;
    size_t at = 12;
    while (bytes.size() - at >= 8) {
        const uint8_t* chunk = bytes.data() + at;
        const size_t length = readU32(chunk + 4);
        const size_t left = bytes.size() - at - 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16 || length > left) return std::string("a damaged format chunk");
            const uint16_t tag = readU16(chunk + 8);
            if (tag != WAVE_FORMAT_PCM) return "sound in format " + std::to_string(tag) + ", not integer PCM";
            soundtrack.format.wFormatTag = WAVE_FORMAT_PCM;
            soundtrack.format.nChannels = readU16(chunk + 10);
            soundtrack.format.nSamplesPerSec = readU32(chunk + 12);
            soundtrack.format.nAvgBytesPerSec = readU32(chunk + 16);
            soundtrack.format.nBlockAlign = readU16(chunk + 20);
            soundtrack.format.wBitsPerSample = readU16(chunk + 22);
            const WAVEFORMATEX& f = soundtrack.format;
            if (f.nChannels == 0 || f.nSamplesPerSec == 0 || (f.wBitsPerSample != 8 && f.wBitsPerSample != 16) ||
                f.nBlockAlign != f.nChannels * f.wBitsPerSample / 8 ||
                f.nAvgBytesPerSec != f.nSamplesPerSec * f.nBlockAlign)
                return std::string("a format with inconsistent sizes");
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) return std::string("sound before its format");
            const size_t kept = std::min(length, left);
            const size_t whole = kept - kept % soundtrack.format.nBlockAlign;
            soundtrack.samples.assign(chunk + 8, chunk + 8 + whole);
            return soundtrack;
        }
        if (length > left) break;
        at += 8 + length + (length & 1);
    }
    return std::string(haveFormat ? "no sound in the file" : "no format chunk");
}

std::variant<Soundtrack, std::string> readWave(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) return "cannot open " + file.string();
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    auto result = parseWave(bytes);
    if (auto* problem = std::get_if<std::string>(&result)) *problem = file.string() + ": " + *problem;
    return result;
}

}  // namespace player
