#pragma once
// Programs run through the shell as their users run them, with what they print.

#include <filesystem>
#include <string>

namespace testing_support {

struct CommandRun {
    int status;  // the shell's exit status; -1 when the shell itself did not exit
    std::string output;
    std::string errors;
};

// text as one word of a shell command line, whatever it holds.
std::string quoted(const std::string& text);

// command run by the shell in directory, with nothing on its standard input.
// Its standard output and error are kept elsewhere, so the directory holds only
// what the command itself made.
CommandRun runIn(const std::filesystem::path& directory, const std::string& command);

}  // namespace testing_support
