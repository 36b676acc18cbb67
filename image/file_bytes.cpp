#include "image/file_bytes.h"

#include <algorithm>
#include <new>

#include "base/fatal.h"
#include "platform/win32.h"

namespace {

// What is left between the position and the end; count itself when the stream
// cannot tell (it then simply ends early).
size_t bytesLeft(std::FILE* file, size_t count) {
    const long position = std::ftell(file);
    if (position < 0 || std::fseek(file, 0, SEEK_END) != 0) return count;
    const long end = std::ftell(file);
    std::fseek(file, position, SEEK_SET);
    return end > position ? static_cast<size_t>(end - position) : 0;
}

}  // namespace

FileHandle openImageFile(const char* name, const char* mode) {
    return FileHandle(std::fopen(nativePath(name).c_str(), mode));
}

std::vector<uint8_t> readUpTo(std::FILE* file, size_t count) {
    std::vector<uint8_t> bytes;
    try {
        bytes.resize(std::min(count, bytesLeft(file, count)));
    } catch (const std::bad_alloc&) {
        fatalError(0);
    }
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    return bytes;
}
