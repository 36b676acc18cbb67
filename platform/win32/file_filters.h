#pragma once
// The filter of OPENFILENAMEA: pairs of strings, a label then its patterns
// separated by semicolons, the list ended by an empty string. Internal to the
// platform layer.

#include <string>
#include <vector>

namespace platform {

struct FileFilter {
    std::string label;
    std::vector<std::string> patterns;  // "*.kvs"
};

// Every pair of filter, in order; none for a null filter.
std::vector<FileFilter> fileFilters(const char* filter);

}  // namespace platform
