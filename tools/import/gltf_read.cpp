#include "tools/import/gltf_read.h"

#include <fstream>
#include <iterator>

#include "tools/import/import_error.h"

namespace gltf_import {

namespace {

bool refuseFile(std::vector<unsigned char>*, std::string* error, const std::string& path, void*) {
    if (error) *error = "cannot read " + path;
    return false;
}

bool noFileExists(const std::string&, void*) { return false; }

// tinygltf's messages end with newlines and may come several at once.
std::string firstLine(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line.empty() ? "not a glTF file" : line;
}

bool isBinary(std::span<const uint8_t> bytes) {
    return bytes.size() >= 4 && bytes[0] == 'g' && bytes[1] == 'l' && bytes[2] == 'T' && bytes[3] == 'F';
}

}  // namespace

tinygltf::Model readGltfBytes(std::span<const uint8_t> bytes, const std::string& baseDirectory, bool allowFiles) {
    tinygltf::TinyGLTF loader;
    if (!allowFiles) {
        tinygltf::FsCallbacks closed{};
        closed.FileExists = noFileExists;
        closed.ExpandFilePath = [](const std::string& path, void*) { return path; };
        closed.ReadWholeFile = refuseFile;
        closed.WriteWholeFile = [](std::string* error, const std::string&, const std::vector<unsigned char>&, void*) {
            if (error) *error = "writing is not allowed";
            return false;
        };
        loader.SetFsCallbacks(closed);
    }
    tinygltf::Model model;
    std::string error, warning;
    const bool read = isBinary(bytes) ? loader.LoadBinaryFromMemory(&model, &error, &warning, bytes.data(),
                                                                    static_cast<unsigned>(bytes.size()), baseDirectory)
                                      : loader.LoadASCIIFromString(&model, &error, &warning,
                                                                   reinterpret_cast<const char*>(bytes.data()),
                                                                   static_cast<unsigned>(bytes.size()), baseDirectory);
    if (!read) throw ImportError(firstLine(error));
    return model;
}

tinygltf::Model readGltf(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) throw ImportError("cannot open the file");
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    if (stream.bad()) throw ImportError("cannot read the file");
    if (bytes.size() > 0xFFFFFFFFu) throw ImportError("larger than 4 GiB");
    const std::string directory = file.parent_path().empty() ? "." : file.parent_path().string();
    return readGltfBytes(bytes, directory, true);
}

}  // namespace gltf_import
