#include "tools/capture/output_check.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace capture {

namespace {

// Permissions, a read-only file system, a full directory: only making a file
// there tells them all apart, so one is made and removed.
std::optional<std::string> cannotCreateIn(const std::filesystem::path& directory) {
    std::string probe = (directory / ".kvor-capture-XXXXXX").string();
    const int file = mkstemp(probe.data());
    if (file < 0) return std::strerror(errno);
    close(file);
    unlink(probe.c_str());
    return std::nullopt;
}

std::optional<std::string> pngProblem(const std::filesystem::path& directory) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) return error.message();
    return cannotCreateIn(directory);
}

std::optional<std::string> videoProblem(const std::filesystem::path& file) {
    if (std::filesystem::is_directory(file)) return std::strerror(EISDIR);
    return cannotCreateIn(std::filesystem::absolute(file).parent_path());
}

}  // namespace

std::optional<std::string> outputProblem(const CaptureOptions& options) {
    const std::filesystem::path& path = options.pngDirectory ? *options.pngDirectory : *options.videoFile;
    const std::optional<std::string> reason =
        options.pngDirectory ? pngProblem(*options.pngDirectory) : videoProblem(*options.videoFile);
    if (!reason) return std::nullopt;
    return path.string() + ": " + *reason;
}

}  // namespace capture
