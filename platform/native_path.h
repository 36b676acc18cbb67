#pragma once
// Names inside the demo's data use the Windows separator (a scene file may name
// its texture "maps\rock.tga"). Before such a name reaches the C library on
// another system, its backslashes become slashes.

#include <string>

inline std::string nativePath(const char* name) {
    std::string path(name ? name : "");
#ifndef _WIN32
    for (char& c : path)
        if (c == '\\') c = '/';
#endif
    return path;
}
