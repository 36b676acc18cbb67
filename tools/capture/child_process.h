#pragma once
// A program started with a pipe to its standard input; its standard output
// goes to /dev/null and its standard error stays ours.

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace capture {

// The program's full path from PATH, or nothing.
std::optional<std::filesystem::path> findProgram(const std::string& name);

class ChildProcess {
public:
    // Throws std::runtime_error when the program cannot be started.
    explicit ChildProcess(const std::vector<std::string>& command);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // False when the program no longer reads (it ended or failed).
    bool write(const void* data, size_t size);
    // Closes the pipe and waits; the exit status, or -1 when it did not exit.
    int finish();

private:
    pid_t pid = -1;
    int input = -1;
};

// Runs command to its end; its exit status, or -1.
int runProgram(const std::vector<std::string>& command);

// What command writes on its standard output when it ends with status 0;
// nothing when it cannot start or fails.
std::optional<std::string> programOutput(const std::vector<std::string>& command);

}  // namespace capture
