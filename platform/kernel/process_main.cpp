// The process entry: hands the engine its instance handle and command line the
// way Windows would.

#include <cstdlib>
#include <string>

#include "platform/layer.h"

namespace {

// Windows gives a module's base address as its instance handle; any stable,
// non-null address of this module does the same job.
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
    // exit, not a return: in a page, where main was suspended and resumed by
    // the browser, a return value reaches no one; exit hands it to the page.
    std::exit(WinMain(instance, nullptr, commandLine.data(), SW_SHOWDEFAULT));
}
