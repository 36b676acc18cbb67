#pragma once
// The program's icon for desktop menus: a lit torus, the first scene's
// subject, with the title's "k" over it, on a rounded tile of the fog's colour.

#include <filesystem>

#include "tools/image_writers/image_writers.h"

namespace datas {

// A square icon of that many pixels (16 to 1024), alpha outside the tile.
// Throws std::runtime_error when FreeType cannot load the font.
image_writers::Image drawIcon(int size, const std::filesystem::path& fontDirectory);

// As an 8-bit RGBA PNG; throws std::runtime_error when it cannot be written.
void writePng(const std::filesystem::path& path, const image_writers::Image& image);

}  // namespace datas
