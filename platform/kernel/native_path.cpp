#include "platform/native_path.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <string_view>

namespace {

bool exists(const std::string& path) {
    struct stat status;
    return lstat(path.c_str(), &status) == 0;
}

char lowerCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Letters A to Z against a to z, as the data's file names were written.
bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerCase(a[i]) != lowerCase(b[i])) return false;
    return true;
}

// The entry of directory (empty: the current one) that names component in
// another case, the first in byte order when there are several.
std::optional<std::string> entryIgnoringCase(const std::string& directory, std::string_view component) {
    DIR* stream = opendir(directory.empty() ? "." : directory.c_str());
    if (stream == nullptr) return std::nullopt;
    std::optional<std::string> found;
    while (const dirent* entry = readdir(stream)) {
        const std::string_view name = entry->d_name;
        if (sameIgnoringCase(name, component) && (!found || name < *found)) found = std::string(name);
    }
    closedir(stream);
    return found;
}

}  // namespace

std::string nativePath(const char* name) {
    std::string path(name ? name : "");
    for (char& c : path)
        if (c == '\\') c = '/';
    if (path.empty() || exists(path)) return path;
    // Component by component from the start; the directory so far always exists.
    std::string resolved;
    size_t start = 0;
    if (path.front() == '/') {
        resolved = "/";
        start = 1;
    }
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        const std::string_view component(path.data() + start, end - start);
        std::string candidate = resolved + std::string(component);
        if (!component.empty() && component != "." && component != ".." && !exists(candidate)) {
            const std::optional<std::string> entry = entryIgnoringCase(resolved, component);
            if (!entry) return resolved + path.substr(start);
            candidate = resolved + *entry;
        }
        if (end == path.size()) return candidate;
        resolved = candidate + "/";
        start = end + 1;
    }
    return resolved;
}
