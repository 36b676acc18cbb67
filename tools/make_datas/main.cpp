// make-datas: writes the demo's data directory (scenes, textures, title
// images, soundtrack) from code. Usage: make-datas [DIRECTORY], "datas" by default.

#include <cstdio>
#include <exception>
#include <string>

#include "tools/make_datas/datas_writer.h"

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && std::string(argv[1]).starts_with("-"))) {
        std::fprintf(stderr, "usage: make-datas [DIRECTORY]\n");
        return 2;
    }
    const std::filesystem::path directory = argc == 2 ? argv[1] : "datas";
    datas::DatasOptions options;
    options.progress = [](const std::string& name) { std::fprintf(stderr, "make-datas: %s\n", name.c_str()); };
    try {
        datas::writeDatas(directory, options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make-datas: %s\n", error.what());
        return 1;
    }
    return 0;
}
