#pragma once
// Writes the demo's whole data directory: the three scenes and their
// textures, the nine title images and the soundtrack.

#include <filesystem>
#include <functional>
#include <string>

namespace datas {

struct DatasOptions {
    std::filesystem::path fontDirectory = "/usr/share/fonts/truetype/dejavu";
    // Reports each file as it is written (its name in the directory).
    std::function<void(const std::string& name)> progress;
};

// Throws std::runtime_error when a file cannot be written or a font is missing.
void writeDatas(const std::filesystem::path& directory, const DatasOptions& options);

}  // namespace datas
