#include "tools/capture/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

extern char** environ;

namespace capture {

namespace {

std::vector<char*> argumentVector(const std::vector<std::string>& command) {
    std::vector<char*> arguments;
    for (const std::string& argument : command) arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    return arguments;
}

int waitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

std::optional<std::filesystem::path> findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string directories = path != nullptr ? path : "/usr/bin:/bin";
    for (size_t start = 0; start <= directories.size();) {
        const size_t end = std::min(directories.find(':', start), directories.size());
        const std::filesystem::path candidate = std::filesystem::path(directories.substr(start, end - start)) / name;
        if (end > start && access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

ChildProcess::ChildProcess(const std::vector<std::string>& command) {
    // A program that stops reading must give us EPIPE, not end us.
    signal(SIGPIPE, SIG_IGN);
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> arguments = argumentVector(command);
    const int result = posix_spawnp(&pid, arguments[0], &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[0]);
    if (result != 0) {
        close(ends[1]);
        throw std::runtime_error("cannot start " + command.front());
    }
    input = ends[1];
}

ChildProcess::~ChildProcess() { finish(); }

bool ChildProcess::write(const void* data, size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0 && input >= 0) {
        const ssize_t written = ::write(input, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return input >= 0;
}

int ChildProcess::finish() {
    if (input >= 0) close(input);
    input = -1;
    if (pid < 0) return -1;
    const int status = waitFor(pid);
    pid = -1;
    return status;
}

int runProgram(const std::vector<std::string>& command) {
    pid_t pid = -1;
    std::vector<char*> arguments = argumentVector(command);
    if (posix_spawnp(&pid, arguments[0], nullptr, nullptr, arguments.data(), environ) != 0) return -1;
    return waitFor(pid);
}

std::optional<std::string> programOutput(const std::vector<std::string>& command) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    pid_t pid = -1;
    std::vector<char*> arguments = argumentVector(command);
    const int result = posix_spawnp(&pid, arguments[0], &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t got; result == 0 && (got = read(ends[0], buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        output.append(buffer, static_cast<size_t>(got));
    }
    close(ends[0]);
    if (result != 0 || waitFor(pid) != 0) return std::nullopt;
    return output;
}

}  // namespace capture
