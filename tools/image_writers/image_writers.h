#pragma once
// Writers for the image files the engine reads: uncompressed TGA, JPEG through
// libjpeg, zkv bodies and gzip streams. Used to make textures, test fixtures
// and benchmark inputs. Pixels are 0xAARRGGBB, row 0 at the top.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace image_writers {

struct Image {
    uint16_t width = 0;
    uint16_t height = 0;
    std::vector<uint32_t> argb;  // width x height, row 0 at the top
};

using Bytes = std::vector<uint8_t>;

// True colour, bottom row first, the usual 18-byte header with no image ID.
// Depth 16 keeps the top five bits of each channel (X1R5G5B5), depth 24 drops
// alpha, depth 32 keeps it.
Bytes tgaTrueColour(const Image& image, int depth);
// 8-bit indices (rows top first here, stored bottom first) into 256 colours
// 0x00RRGGBB, written as a 24-bit colour map.
Bytes tgaColourMapped(uint16_t width, uint16_t height, const std::vector<uint8_t>& indices,
                      const std::vector<uint32_t>& palette);

// How a colour JPEG stores its colour: at half the resolution of its
// brightness, as most encoders do, or at full resolution, which keeps sharp
// colour edges of small textures where they are.
enum class ChromaSampling { halved, full };

// Baseline JPEG of the red, green, blue bytes (components 3), grey bytes
// (components 1) or cyan, magenta, yellow, black bytes (components 4), rows
// top first.
Bytes jpeg(uint16_t width, uint16_t height, const Bytes& samples, int components, int quality,
           ChromaSampling chroma = ChromaSampling::halved);
// The red, green, blue bytes of an image, rows top first.
Bytes rgbSamples(const Image& image);

// A zkv body with no extra fields, depth 16 (X1R5G5B5) or 32 (blue, green, red,
// alpha). With alphaPlane the alpha bytes go into the plane instead, and the
// pixel data holds alpha 0.
Bytes zkvBody(const Image& image, int depth, bool alphaPlane);

// A gzip stream (the format gzip and zlib's gzopen read) holding bytes.
Bytes gzip(const Bytes& bytes, int level);

void writeFile(const std::filesystem::path& path, const Bytes& bytes);

}  // namespace image_writers
