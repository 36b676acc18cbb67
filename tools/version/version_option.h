#pragma once
// "--version" as a tool's only argument: prints "PROGRAM VERSION" on standard
// output, as the GNU tools do.

#include <cstdio>
#include <cstring>

#include "kvor_version.h"

// True when the command line asked for the version, which is then printed.
inline bool printVersionIfAsked(int argc, char** argv, const char* program) {
    if (argc != 2 || std::strcmp(argv[1], "--version") != 0) return false;
    std::printf("%s %s\n", program, kvorVersion);
    return true;
}
