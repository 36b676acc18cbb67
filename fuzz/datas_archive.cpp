#include "fuzz/datas_archive.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

constexpr size_t longestName = 64;

// Names stay inside the folder: no separator but the backslash, no empty or
// dot-only component.
bool usableName(const std::string& name) {
    if (name.empty() || name.size() > longestName) return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '_' && c != '\\') return false;
    size_t start = 0;
    for (;;) {
        const size_t end = std::min(name.find('\\', start), name.size());
        const std::string component = name.substr(start, end - start);
        if (component.find_first_not_of('.') == std::string::npos) return false;
        if (end == name.size()) return true;
        start = end + 1;
    }
}

}  // namespace

std::vector<uint8_t> packDatas(const std::vector<DatasEntry>& entries) {
    std::vector<uint8_t> out;
    for (const DatasEntry& entry : entries) {
        out.insert(out.end(), entry.name.begin(), entry.name.end());
        out.push_back(0);
        const auto size = static_cast<uint32_t>(entry.bytes.size());
        for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(size >> shift));
        out.insert(out.end(), entry.bytes.begin(), entry.bytes.end());
    }
    return out;
}

std::optional<std::vector<DatasEntry>> unpackDatas(std::span<const uint8_t> input) {
    std::vector<DatasEntry> entries;
    size_t at = 0;
    while (at < input.size()) {
        const auto end = std::find(input.begin() + static_cast<ptrdiff_t>(at), input.end(), uint8_t{0});
        if (end == input.end()) return std::nullopt;
        DatasEntry entry;
        entry.name.assign(input.begin() + static_cast<ptrdiff_t>(at), end);
        if (!usableName(entry.name)) return std::nullopt;
        at = static_cast<size_t>(end - input.begin()) + 1;
        if (input.size() - at < 4) return std::nullopt;
        uint32_t size = 0;
        for (int byte = 0; byte < 4; ++byte) size |= static_cast<uint32_t>(input[at + byte]) << (8 * byte);
        at += 4;
        if (input.size() - at < size) return std::nullopt;
        entry.bytes.assign(input.begin() + static_cast<ptrdiff_t>(at), input.begin() + static_cast<ptrdiff_t>(at + size));
        at += size;
        entries.push_back(std::move(entry));
    }
    if (entries.empty()) return std::nullopt;
    return entries;
}

void writeDatas(const std::vector<DatasEntry>& entries, const std::filesystem::path& folder) {
    for (const DatasEntry& entry : entries) {
        std::string relative = entry.name;
        std::replace(relative.begin(), relative.end(), '\\', '/');
        const std::filesystem::path file = folder / relative;
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        if (std::FILE* stream = std::fopen(file.c_str(), "wb")) {
            std::fwrite(entry.bytes.data(), 1, entry.bytes.size(), stream);
            std::fclose(stream);
        }
    }
}
