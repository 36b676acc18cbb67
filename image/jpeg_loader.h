#pragma once
// JPEG through libjpeg. Colour and greyscale images decode to RGB; a file that
// libjpeg rejects makes load return 0, and if the header had been read the
// loader keeps the image's size with every pixel 0.

#include <memory>

#include "image/image_loader.h"

struct jpeg_decompress_struct;

class JpegLoader : public ImageLoader {
public:
    int load(const char* fileName) override;

    // The decoder's output: width x height x 3 bytes, red, green, blue, rows top
    // to bottom. Null outside a load.
    std::unique_ptr<uint8_t[]> rgbBuffer;

private:
    // Everything that may end in libjpeg's error exit; the jump back leaves it
    // with no object of its own to destroy.
    void decode(jpeg_decompress_struct& decoder);
    void allocateBuffers();
    void convertRgb();
    int rejected();
};
