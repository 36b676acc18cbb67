#pragma once
// Shared helpers for the tests: scratch directories, files, and capture of the
// log and of the debugger output.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

// A fresh directory, removed with everything in it at the end of its scope.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return root; }
    std::filesystem::path operator/(const std::string& name) const { return root / name; }

private:
    std::filesystem::path root;
};

std::string readFile(const std::filesystem::path& path);
// A file written in text mode, read the same way: line ends are "\n" wherever
// the system writes them otherwise.
std::string readTextFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& content);
void writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& content);

// Opens the engine's log on a scratch file for the scope; text() flushes and
// reads what has been written so far. Fatal stops inside death tests write to
// the same file, which the parent can read after the child has ended.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    std::string text() const;
    // The log without its first two lines (the start line and the empty line).
    std::string textAfterStartLine() const;
    const std::filesystem::path& path() const { return file; }

private:
    ScratchDirectory directory;
    std::filesystem::path file;
};

// Collects the debugger output for the scope.
class DebugOutputCapture {
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    const std::string& text() const { return collected; }

private:
    std::string collected;
};

}  // namespace testing_support
