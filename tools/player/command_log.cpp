#include "tools/player/command_log.h"

namespace player {

CommandLog::CommandLog(const std::filesystem::path& file)
    : file_(_wfopen(file.c_str(), L"w"), std::fclose), start_(std::chrono::steady_clock::now()) {}

void CommandLog::write(const std::string& event) {
    if (!file_) return;
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
    std::fprintf(file_.get(), "%10.3f s  %s\n", elapsed.count(), event.c_str());
    std::fflush(file_.get());
}

}  // namespace player
