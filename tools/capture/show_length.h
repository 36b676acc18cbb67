#pragma once
// How many frames the show in a data directory draws, from its scene headers.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace capture {

// The frame count (last frame + 1) in a scene file's header, or nothing when
// the file cannot be read that far.
std::optional<int32_t> sceneFrameCount(const std::filesystem::path& file);
// 1500 + mont's frames + salle's frames - 5 (parts never run below 0 frames);
// 0 when a scene cannot be read (the show will stop on it anyway).
uint32_t showFrames(const std::filesystem::path& datas);
// The frames of a scene played alone, or nothing, said on standard error, when
// the file is no scene or has no frame.
std::optional<uint32_t> sceneFrames(const std::filesystem::path& file);

}  // namespace capture
