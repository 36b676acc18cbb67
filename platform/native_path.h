#pragma once
// Names inside the demo's data use the Windows separator (a scene file may name
// its texture "maps\rock.tga") and were made on a system that ignores case.
// Before such a name reaches the C library on another system, its backslashes
// become slashes and each component that does not exist as written is looked
// up whatever its case: an exact match wins, and of several names differing
// only in case the first in byte order is taken. A component found in no case
// stays as written, so a file about to be created keeps its name.

#include <string>

#ifdef _WIN32
inline std::string nativePath(const char* name) { return name ? name : ""; }
#else
std::string nativePath(const char* name);
#endif
