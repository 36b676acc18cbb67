#pragma once
// The soundtrack: a RIFF WAVE file of integer PCM, read whole.

#include <windows.h>
// winmm's declarations need <windows.h> first.
#include <mmsystem.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace player {

struct Soundtrack {
    WAVEFORMATEX format{};
    std::vector<uint8_t> samples;
    // Whole seconds and their fraction: the length of the samples at the format's rate.
    double seconds() const;
};

// The soundtrack of the file's bytes, or what is wrong with them.
std::variant<Soundtrack, std::string> parseWave(const std::vector<uint8_t>& bytes);

// The soundtrack of the file, or what is wrong with it (the file's name included).
std::variant<Soundtrack, std::string> readWave(const std::filesystem::path& file);

}  // namespace player
