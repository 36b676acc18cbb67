#pragma once
// A datas folder in one byte string, so that one fuzzed input is a scene and
// the textures it names. Entries follow each other to the end of the input:
//     name   characters up to a zero byte (letters, digits, '.', '_', '\')
//     size   uint32, little-endian
//     bytes  size bytes
// The first entry is the scene; the others are the files beside it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct DatasEntry {
    std::string name;  // backslashes separate folders, as in the scene's texture names
    std::vector<uint8_t> bytes;
};

std::vector<uint8_t> packDatas(const std::vector<DatasEntry>& entries);

// The entries, or nothing when the input is not an archive (a bad name, an
// entry cut short, no entry at all).
std::optional<std::vector<DatasEntry>> unpackDatas(std::span<const uint8_t> input);

// Writes every entry below folder, creating the folders its name has.
void writeDatas(const std::vector<DatasEntry>& entries, const std::filesystem::path& folder);
