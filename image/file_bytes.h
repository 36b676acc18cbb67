#pragma once
// Files of images as the loaders read them: names from data files (backslashes
// allowed), streams closed on every path, reads bounded by what is really there.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Null when the file cannot be opened.
FileHandle openImageFile(const char* name, const char* mode);

// The next count bytes, or as many as the file still holds. Running out of
// memory for them is the out-of-memory fatal stop.
std::vector<uint8_t> readUpTo(std::FILE* file, size_t count);
