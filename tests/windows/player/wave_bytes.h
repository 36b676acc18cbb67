#pragma once
// A RIFF WAVE file of PCM samples, written field by field as the format lays
// it out (a 16-byte format chunk, then the data chunk).

#include <cstdint>
#include <vector>

inline std::vector<uint8_t> waveBytes(uint32_t rate, uint16_t channels, uint16_t bits,
                                      const std::vector<uint8_t>& samples) {
    std::vector<uint8_t> bytes;
    auto text = [&](const char* four) {
        for (int k = 0; k < 4; ++k) bytes.push_back(uint8_t(four[k]));
    };
    auto u32 = [&](uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(uint8_t(v >> shift));
    };
    auto u16 = [&](uint16_t v) {
        bytes.push_back(uint8_t(v));
        bytes.push_back(uint8_t(v >> 8));
    };
    const uint16_t block = uint16_t(channels * bits / 8);
    text("RIFF");
    u32(uint32_t(36 + samples.size()));
    text("WAVE");
    text("fmt ");
    u32(16);
    u16(1);
    u16(channels);
    u32(rate);
    u32(rate * block);
    u16(block);
    u16(bits);
    text("data");
    u32(uint32_t(samples.size()));
    bytes.insert(bytes.end(), samples.begin(), samples.end());
    return bytes;
}
