#pragma once
// Texture files in each format the engine reads, and the materials that name them.

#include <string>

#include "tools/make_datas/demo_scenes.h"
#include "tools/make_datas/texture_painter.h"

namespace datas {

TextureFile jpegTexture(const std::string& name, const image_writers::Image& image);
// The image's grey level as a one-channel JPEG.
TextureFile greyJpegTexture(const std::string& name, const image_writers::Image& image);
// Depth 16, 24 or 32.
TextureFile tgaTexture(const std::string& name, const image_writers::Image& image, int depth);
TextureFile mappedTgaTexture(const std::string& name, const MappedImage& image);
// A zkv container of depth 16 or 32, alpha in its plane.
TextureFile zkvTexture(const std::string& name, const image_writers::Image& image, int depth);

// A white material naming one texture (how the scene refers to it).
kvs::Material texturedMaterial(const std::string& textureName, float transparency = 0.0f);

}  // namespace datas
