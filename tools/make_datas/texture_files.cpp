#include "tools/make_datas/texture_files.h"

namespace datas {

namespace {

constexpr int jpegQuality = 90;

}  // namespace

TextureFile jpegTexture(const std::string& name, const image_writers::Image& image) {
    return {name, image_writers::jpeg(image.width, image.height, image_writers::rgbSamples(image), 3, jpegQuality)};
}

TextureFile greyJpegTexture(const std::string& name, const image_writers::Image& image) {
    image_writers::Bytes grey;
    for (uint32_t pixel : image.argb)
        grey.push_back(static_cast<uint8_t>(((pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF)) / 3));
    return {name, image_writers::jpeg(image.width, image.height, grey, 1, jpegQuality)};
}

TextureFile tgaTexture(const std::string& name, const image_writers::Image& image, int depth) {
    return {name, image_writers::tgaTrueColour(image, depth)};
}

TextureFile mappedTgaTexture(const std::string& name, const MappedImage& image) {
    return {name, image_writers::tgaColourMapped(image.size, image.size, image.indices, image.palette)};
}

TextureFile zkvTexture(const std::string& name, const image_writers::Image& image, int depth) {
    return {name, image_writers::gzip(image_writers::zkvBody(image, depth, true), 9)};
}

kvs::Material texturedMaterial(const std::string& textureName, float transparency) {
    kvs::Material material;
    material.ambient = {1.0f, 1.0f, 1.0f};
    material.diffuse = {1.0f, 1.0f, 1.0f};
    material.specular = {0.2f, 0.2f, 0.2f};
    material.transparency = transparency;
    material.textureNames = {textureName};
    return material;
}

}  // namespace datas
