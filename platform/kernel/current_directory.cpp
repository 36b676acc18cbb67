#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>

#include "platform/layer.h"
#include "platform/native_path.h"

// Win32 contract: with room, copy the path and return its length without the
// terminator; without room, leave the buffer alone and return the size needed
// including the terminator; on failure return 0.
DWORD WINAPI GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer) {
    std::string path(PATH_MAX, '\0');
    while (getcwd(path.data(), path.size()) == nullptr) {
        if (errno != ERANGE) return 0;
        path.resize(path.size() * 2);
    }
    path.resize(std::strlen(path.c_str()));
    if (buffer == nullptr || path.size() + 1 > bufferLength) return static_cast<DWORD>(path.size() + 1);
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

BOOL WINAPI SetCurrentDirectoryA(LPCSTR pathName) {
    if (pathName == nullptr) return FALSE;
    return chdir(nativePath(pathName).c_str()) == 0 ? TRUE : FALSE;
}
