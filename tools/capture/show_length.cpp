#include "tools/capture/show_length.h"

#include <cstdio>
#include <cstring>
#include <fstream>

#include "tools/make_datas/demo_scenes.h"

namespace capture {

std::optional<int32_t> sceneFrameCount(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    char magic[7];
    if (!stream.read(magic, sizeof magic)) return std::nullopt;
    // The scene's name, then the first and the last frame.
    for (char c = 1; c != 0;)
        if (!stream.get(c)) return std::nullopt;
    unsigned char values[8];
    if (!stream.read(reinterpret_cast<char*>(values), sizeof values)) return std::nullopt;
    const auto lastFrame =
        static_cast<int32_t>(static_cast<uint32_t>(values[4]) | static_cast<uint32_t>(values[5]) << 8 |
                             static_cast<uint32_t>(values[6]) << 16 | static_cast<uint32_t>(values[7]) << 24);
    return lastFrame < 0 ? 0 : lastFrame + 1;
}

uint32_t showFrames(const std::filesystem::path& datas) {
    const auto mont = sceneFrameCount(datas / "mont.kvs");
    const auto salle = sceneFrameCount(datas / "salle.kvs");
    if (!mont || !salle || !sceneFrameCount(datas / "tores.kvs")) return 0;
    return static_cast<uint32_t>(datas::showFrameCount(*mont, *salle));
}

namespace {

bool hasSceneMagic(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    char magic[7] = {};
    return stream.read(magic, sizeof magic) &&
           (std::memcmp(magic, "kvor001", 7) == 0 || std::memcmp(magic, "kvor002", 7) == 0);
}

}  // namespace

std::optional<uint32_t> sceneFrames(const std::filesystem::path& file) {
    const std::optional<int32_t> frames = hasSceneMagic(file) ? sceneFrameCount(file) : std::nullopt;
    if (!frames) {
        std::fprintf(stderr, "kvor-capture: %s is not a scene file that can be read\n", file.c_str());
        return std::nullopt;
    }
    if (*frames == 0) {
        std::fprintf(stderr, "kvor-capture: the scene %s has no frame\n", file.c_str());
        return std::nullopt;
    }
    return static_cast<uint32_t>(*frames);
}

}  // namespace capture
