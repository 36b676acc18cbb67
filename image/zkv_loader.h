#pragma once
// zkv, the engine's own container: a raster with an optional alpha plane, the
// whole gzip-compressed. The body, all integers little-endian:
//   lead-in 6 bytes, flags 2 (0x02: 8 extra bytes follow, 0x04: 4 more,
//   0x10: an alpha plane ends the body), width 4, height 4 (low 16 bits used),
//   depth 1, pixel data bottom row first (8: a 768-byte blue-green-red palette
//   and one index a pixel; 16: X1R5G5B5; anything else: blue, green, red,
//   alpha), then alpha width 4, alpha height 4 and one alpha byte a pixel,
//   top row first.

#include <span>
#include <string>
#include <vector>

#include "image/byte_cursor.h"
#include "image/image_loader.h"

class ZkvLoader : public ImageLoader {
public:
    int load(const char* fileName) override;

    // The unpacked body. zlib passes a file that is not gzip-compressed through
    // as it is. A failure is logged and is a fatal stop.
    std::vector<uint8_t> unpack(const char* source);
    void readBody(std::span<const uint8_t> body);

    std::string sourceName;  // the name given to load

private:
    void readPixelData(ByteCursor& body);
    void applyAlphaPlane(ByteCursor& body);
};
