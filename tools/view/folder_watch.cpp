#include "tools/view/folder_watch.h"

namespace view {

FolderWatch::FolderWatch(std::filesystem::path watched) : folder(std::move(watched)) {
    settled = look();
    previous = settled;
}

std::map<std::string, FolderWatch::Stamp> FolderWatch::look() const {
    std::map<std::string, Stamp> stamps;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::error_code entryError;
        if (!entry.is_regular_file(entryError)) continue;
        const Stamp stamp{entry.file_size(entryError), entry.last_write_time(entryError)};
        if (!entryError) stamps[entry.path().filename().string()] = stamp;
    }
    return stamps;
}

std::set<std::string> FolderWatch::settledChanges() {
    const std::map<std::string, Stamp> now = look();
    std::set<std::string> changed;
    for (const auto& [name, stamp] : now) {
        const auto before = previous.find(name);
        const auto known = settled.find(name);
        const bool steady = before != previous.end() && before->second == stamp;
        if (steady && (known == settled.end() || !(known->second == stamp))) changed.insert(name);
    }
    for (const auto& [name, stamp] : settled)
        if (!now.contains(name)) changed.insert(name);
    for (const std::string& name : changed) {
        if (now.contains(name))
            settled[name] = now.at(name);
        else
            settled.erase(name);
    }
    previous = now;
    return changed;
}

}  // namespace view
