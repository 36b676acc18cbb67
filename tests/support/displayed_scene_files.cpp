#include "tests/support/displayed_scene_files.h"

#include "image/file_name.h"
#include "tools/image_writers/image_writers.h"

namespace testing_support {

void DisplayedSceneFileTest::writeTexture(const std::string& name) const {
    const image_writers::Image image{2, 2, {0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0}};
    const std::filesystem::path file = directory / nativePath(name.c_str());
    std::filesystem::create_directories(file.parent_path());
    const bool zkv = FileName(name.c_str()).extension == "zkv";
    image_writers::writeFile(file, zkv ? image_writers::gzip(image_writers::zkvBody(image, 32, true), 6)
                                       : image_writers::tgaTrueColour(image, 24));
}

}  // namespace testing_support
