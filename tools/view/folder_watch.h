#pragma once
// The data folder watched for files written again: each regular file's size
// and modification time, compared at each look.

#include <filesystem>
#include <map>
#include <set>
#include <string>

namespace view {

class FolderWatch {
public:
    explicit FolderWatch(std::filesystem::path folder);
    // The files changed, added or removed since they last settled. A file seen
    // changing is reported once it has kept the same stamp for a whole look,
    // so a file still being written is not read half-way.
    std::set<std::string> settledChanges();

private:
    struct Stamp {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type written;
        bool operator==(const Stamp&) const = default;
    };
    std::map<std::string, Stamp> look() const;

    std::filesystem::path folder;
    std::map<std::string, Stamp> settled;
    std::map<std::string, Stamp> previous;
};

}  // namespace view
