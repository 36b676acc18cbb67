#include "tools/import/scene_write.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "tools/import/import_error.h"
#include "tools/kvs/kvs_writer.h"

namespace gltf_import {

namespace {

// A private folder that goes away with everything in it, whatever happens.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::filesystem::path& beside) {
        std::string pattern = (beside / ".kvor-import-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw ImportError("cannot make a folder in " + beside.string() + ": " + std::strerror(errno));
        path = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::filesystem::path path;
};

void save(const std::vector<uint8_t>& bytes, const std::filesystem::path& path) {
    try {
        kvs::saveBytes(bytes, path);
    } catch (const std::exception& error) {
        throw ImportError("cannot write " + path.string() + ": " + error.what());
    }
}

void moveInto(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    if (error) throw ImportError("cannot write " + to.string() + ": " + error.message());
}

}  // namespace

void writeImport(const ImportedScene& scene, const std::filesystem::path& directory, const std::string& name) {
    const std::vector<uint8_t> sceneBytes = kvs::sceneFileBytes(scene.file);
    std::error_code error;
    const bool made = std::filesystem::create_directories(directory, error);
    if (error) throw ImportError("cannot make " + directory.string() + ": " + error.message());
    try {
        TemporaryFolder folder(directory);
        for (const TextureFile& texture : scene.textures) save(texture.bytes, folder.path / texture.name);
        const std::string sceneName = name + ".kvs";
        save(sceneBytes, folder.path / sceneName);
        // The scene last: until it moves, a scene already there still finds
        // textures that load.
        for (const TextureFile& texture : scene.textures)
            moveInto(folder.path / texture.name, directory / texture.name);
        moveInto(folder.path / sceneName, directory / sceneName);
    } catch (...) {
        if (made) std::filesystem::remove_all(directory, error);
        throw;
    }
}

}  // namespace gltf_import
