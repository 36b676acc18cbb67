// kvor-inspect: looks into the engine's content files the way the engine reads
// them. kvor-inspect SUBCOMMAND ARGUMENTS... [--log FILE]; the engine's log
// lines go to FILE when given and nowhere otherwise.

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "base/log.h"
#include "platform/native_path.h"
#include "tools/inspect/command_line.h"
#include "tools/inspect/subcommands.h"
#include "tools/version/version_option.h"

namespace {

struct Subcommand {
    const char* name;
    int (*run)(const std::vector<std::string>& arguments);
    const char* usage;
};

const Subcommand subcommands[] = {
    {"image", inspectImage, "image FILE [--opacity X] [--png OUT.png]"},
    {"scene", inspectScene, "scene FILE [--frame N]... | scene FILE --render N --png OUT.png"},
    {"overlay", inspectOverlay, "overlay EFFECT --duration N [--start S] [--frame F]..."},
};

int usage() {
    std::cerr << "usage:\n";
    for (const Subcommand& subcommand : subcommands)
        std::cerr << "  kvor-inspect " << subcommand.usage << " [--log FILE]\n";
    std::cerr << "  kvor-inspect --version\n";
    return exitUsage;
}

// Takes "--log FILE" out of the arguments and opens the engine's log there.
bool openLogIfAsked(std::vector<std::string>& arguments) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] != "--log") continue;
        if (i + 1 == arguments.size()) return false;
        const std::string file = arguments[i + 1];
        arguments.erase(arguments.begin() + static_cast<std::ptrdiff_t>(i),
                        arguments.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        if (std::FILE* probe = std::fopen(nativePath(file.c_str()).c_str(), "w")) {
            std::fclose(probe);
            logOpen(file.c_str(), nullptr);
            return true;
        }
        std::cerr << "kvor-inspect: cannot write the log " << file << ": " << std::strerror(errno) << '\n';
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (printVersionIfAsked(argc, argv, "kvor-inspect")) return 0;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty()) return usage();
    const std::string name = arguments.front();
    arguments.erase(arguments.begin());
    if (!openLogIfAsked(arguments)) return exitUsage;
    for (const Subcommand& subcommand : subcommands) {
        if (name != subcommand.name) continue;
        const int status = subcommand.run(arguments);
        logClose();
        return status;
    }
    std::cerr << "kvor-inspect: unknown subcommand " << name << '\n';
    return usage();
}
