#pragma once
// RGB frames turned into the planar YUV 4:2:0 that H.264 stores (BT.601,
// limited range, as ffmpeg's own conversion gives), so the encoder gets its
// input as is.

#include <cstdint>
#include <vector>

namespace capture {

// rgb: width x height triples, rows top first. Odd sizes round the chroma
// planes up. Returns the Y plane, then U, then V.
std::vector<uint8_t> yuv420(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb);

}  // namespace capture
