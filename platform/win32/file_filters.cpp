#include "platform/win32/file_filters.h"

#include <algorithm>
#include <cstring>

namespace platform {

std::vector<FileFilter> fileFilters(const char* filter) {
    std::vector<FileFilter> filters;
    if (filter == nullptr) return filters;
    for (const char* label = filter; *label != '\0';) {
        const char* patterns = label + std::strlen(label) + 1;
        FileFilter each{label, {}};
        const std::string list = patterns;
        for (size_t start = 0, end = 0; start <= list.size(); start = end + 1) {
            end = std::min(list.find(';', start), list.size());
            if (end > start) each.patterns.push_back(list.substr(start, end - start));
        }
        filters.push_back(std::move(each));
        label = patterns + list.size() + 1;
    }
    return filters;
}

}  // namespace platform
