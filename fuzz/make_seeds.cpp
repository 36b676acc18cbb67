// Writes a small valid file of every kind each loader reads, as the starting
// corpus of the fuzz targets: make_seeds DIRECTORY (subfolders tga, jpeg, zkv, kvs, datas, rc).

#include <filesystem>
#include <iostream>
#include <string>

#include "fuzz/scene_seeds.h"
#include "tools/image_writers/image_writers.h"

using image_writers::Bytes;
using image_writers::Image;

namespace {

Image gradient(uint16_t width, uint16_t height) {
    Image image{width, height, std::vector<uint32_t>(size_t{width} * height)};
    for (size_t i = 0; i < image.argb.size(); ++i) image.argb[i] = static_cast<uint32_t>(i * 0x01030507u);
    return image;
}

void write(const std::filesystem::path& folder, const std::string& name, const Bytes& bytes) {
    std::filesystem::create_directories(folder);
    image_writers::writeFile(folder / name, bytes);
}

Bytes prefixed(uint8_t mode, const Bytes& bytes) {
    Bytes withMode{mode};
    withMode.insert(withMode.end(), bytes.begin(), bytes.end());
    return withMode;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_seeds DIRECTORY\n";
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const Image image = gradient(5, 3);
    for (int depth : {16, 24, 32})
        write(root / "tga", std::to_string(depth) + ".tga", image_writers::tgaTrueColour(image, depth));
    write(root / "tga", "8.tga", image_writers::tgaColourMapped(2, 2, {0, 1, 2, 3}, {0x102030, 0x405060}));
    write(root / "jpeg", "colour.jpg", image_writers::jpeg(5, 3, image_writers::rgbSamples(image), 3, 75));
    write(root / "jpeg", "grey.jpg", image_writers::jpeg(4, 4, Bytes(16, 0x40), 1, 50));
    for (int depth : {16, 32}) {
        const Bytes body = image_writers::zkvBody(image, depth, depth == 32);
        write(root / "zkv", std::to_string(depth) + "-body.zkv", prefixed(1, body));
        write(root / "zkv", std::to_string(depth) + "-packed.zkv", prefixed(0, image_writers::gzip(body, 6)));
    }
    writeSceneSeeds(root / "kvs");
    writeDatasSeeds(root / "datas");
    std::filesystem::create_directories(root / "rc");
    std::filesystem::copy_file(KVOR_RESOURCE_SCRIPT, root / "rc" / "kvor.rc",
                               std::filesystem::copy_options::overwrite_existing);
    return 0;
}
