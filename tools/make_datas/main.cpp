// make-datas: writes the demo's data directory (scenes, textures, title
// images, soundtrack) from code, or the program's icon.
//   make-datas [DIRECTORY]        the data, in "datas" by default
//   make-datas --icon FILE.png    the icon, 256 pixels square

#include <cstdio>
#include <exception>
#include <string>

#include "tools/make_datas/datas_writer.h"
#include "tools/make_datas/icon.h"
#include "tools/version/version_option.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: make-datas [DIRECTORY] | make-datas --icon FILE.png | make-datas --version\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (printVersionIfAsked(argc, argv, "make-datas")) return 0;
    const bool icon = argc == 3 && std::string(argv[1]) == "--icon";
    if (!icon && (argc > 2 || (argc == 2 && std::string(argv[1]).starts_with("-")))) return usage();
    datas::DatasOptions options;
    try {
        if (icon) {
            datas::writePng(argv[2], datas::drawIcon(256, options.fontDirectory));
            return 0;
        }
        const std::filesystem::path directory = argc == 2 ? argv[1] : "datas";
        options.progress = [](const std::string& name) { std::fprintf(stderr, "make-datas: %s\n", name.c_str()); };
        datas::writeDatas(directory, options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make-datas: %s\n", error.what());
        return 1;
    }
    return 0;
}
