#pragma once
// The player's log: one line per event, with the seconds since the player
// started, written through at once so that it can be read while the player runs.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace player {

class CommandLog {
public:
    // Nothing is written when the file cannot be opened.
    explicit CommandLog(const std::filesystem::path& file);
    void write(const std::string& event);

private:
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_;
    std::chrono::steady_clock::time_point start_;
};

}  // namespace player
