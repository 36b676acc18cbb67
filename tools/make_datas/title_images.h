#pragma once
// The nine title images drawn over the show: light text on black (overlays
// add their image to the frame), set with FreeType in the DejaVu fonts. Each
// image has the pixel size of the screen area its effect gives it on a
// 640 x 480 display, so the text is shown undistorted.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/image_writers/image_writers.h"
#include "tools/make_datas/texture_painter.h"

namespace datas {

struct TitleLine {
    std::string text;  // UTF-8
    std::string font;  // a file of the font directory
    float height = 0.3f;  // em size as a fraction of the image height (shrunk to fit the width)
};

struct TitleImage {
    std::string fileName;
    uint16_t width = 0, height = 0;
    std::vector<TitleLine> lines;  // stacked, centred as a block
    Colour colour;
    Colour glow;
};

// The nine, in the order the show creates its overlays.
std::vector<TitleImage> titleImages();

// Throws std::runtime_error when FreeType cannot load a font.
image_writers::Image renderTitle(const TitleImage& title, const std::filesystem::path& fontDirectory);

// Code points of UTF-8 text; a malformed byte stands for itself.
std::vector<uint32_t> codePoints(const std::string& text);

}  // namespace datas
