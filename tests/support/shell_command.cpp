#include "tests/support/shell_command.h"

#include <sys/wait.h>

#include <cstdlib>

#include "tests/support/test_support.h"

namespace testing_support {

// Inside single quotes only a single quote means something: it closes, an
// escaped one follows, and the quotes open again.
std::string quoted(const std::string& text) {
    std::string word = "'";
    for (char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

CommandRun runIn(const std::filesystem::path& directory, const std::string& command) {
    const ScratchDirectory streams;
    const auto output = streams / "stdout.txt", errors = streams / "stderr.txt";
    const std::string line =
        "cd " + quoted(directory) + " && (" + command + ") >" + quoted(output) + " 2>" + quoted(errors) + " </dev/null";
    const int raw = std::system(line.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(output), readFile(errors)};
}

}  // namespace testing_support
