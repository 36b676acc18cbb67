#pragma once
// The first stage: a glTF 2.0 file, JSON (.gltf) or binary (.glb), parsed by
// tinygltf with its buffers and images loaded and decoded.

#include <tiny_gltf.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace gltf_import {

// Throws ImportError when the file cannot be read or parsed, or an image or a
// buffer it names cannot be loaded.
tinygltf::Model readGltf(const std::filesystem::path& file);

// The same from bytes in memory; files the model names are looked for in
// baseDirectory, and never opened when allowFiles is false.
tinygltf::Model readGltfBytes(std::span<const uint8_t> bytes, const std::string& baseDirectory, bool allowFiles);

}  // namespace gltf_import
