// The process entry in a page: as on the desktop, but the status WinMain
// returns ends the program explicitly. Once the program has waited for the
// browser (Asyncify), main's own return no longer reaches the runtime, which
// would end with status 0.

#include <emscripten.h>

#include <string>

#include "platform/layer.h"

namespace {

// Any stable, non-null address of this module stands for its instance handle.
const char moduleBase = 0;

std::string joinArguments(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    std::string commandLine = joinArguments(argc, argv);
    auto instance = reinterpret_cast<HINSTANCE>(const_cast<char*>(&moduleBase));
    emscripten_force_exit(WinMain(instance, nullptr, commandLine.data(), SW_SHOWDEFAULT));
}
