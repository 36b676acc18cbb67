#pragma once
// What an input declares before it is decoded: the fuzz targets skip inputs
// that ask for more pixels or frames than a fuzzing run can afford per input
// (large ones run the same loops, only slower).

#include <cstddef>
#include <cstdint>
#include <string_view>

constexpr uint64_t largestFuzzedPixelCount = uint64_t{1} << 14;
constexpr int64_t largestFuzzedFrameCount = int64_t{1} << 14;

// Width x height of a TGA header.
uint64_t tgaPixels(const uint8_t* data, size_t size);
// The largest image any start-of-frame marker declares.
uint64_t jpegPixels(const uint8_t* data, size_t size);
// Width x height of a zkv body (the container's content once unpacked).
uint64_t zkvBodyPixels(const uint8_t* body, size_t size);
// The same for a zkv file: a gzip stream, or plain data that zlib passes through.
uint64_t zkvFilePixels(const uint8_t* data, size_t size);
// By the name's extension, as the texture loader chooses; 0 for other names.
uint64_t texturePixels(std::string_view name, const uint8_t* data, size_t size);
// The frame count (last frame + 1) of a scene file's header; 0 when it has none.
int64_t sceneFrames(const uint8_t* data, size_t size);
