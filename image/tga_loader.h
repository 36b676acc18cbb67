#pragma once
// Uncompressed TGA: 8-bit indices with a 256-entry colour map of blue, green,
// red, or true colour of 16, 24 or 32 bits, stored bottom row first, with no
// image-ID field. Only width, height and depth are read from the header; other
// kinds of TGA are not detected and decode to wrong pixels.

#include <span>

#include "image/image_loader.h"

class TgaLoader : public ImageLoader {
public:
    int load(const char* fileName) override;

    void readHeader();
    void readPixels();

private:
    void expand24(std::span<const uint8_t> source);
};
