#include "image/file_name.h"

#include <cctype>

FileName::FileName(const char* name) {
    if (name == nullptr) return;
    std::string lower(name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const size_t lastDot = lower.rfind('.');
    const size_t lastBackslash = lower.rfind('\\');
    if (lastDot != std::string::npos) extension = lower.substr(lastDot + 1);
    if (lastBackslash == std::string::npos) {
        baseName = lower;
    } else {
        baseName = lower.substr(lastBackslash + 1);
        directory = lower.substr(0, lastBackslash);
    }
    path = std::move(lower);
}
