// The kvor program as a user starts it, on a machine without a display.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>

#include "tests/support/test_support.h"

using testing_support::readFile;
using testing_support::ScratchDirectory;

namespace {

struct ProgramRun {
    int status;
    std::string standardError;
};

ProgramRun runProgramIn(const ScratchDirectory& directory) {
    const auto errors = directory / "stderr.txt";
    const std::string command =
        "cd '" + directory.path().string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" KVOR_PROGRAM "' 2>'" +
        errors.string() + "' </dev/null";
    const int raw = std::system(command.c_str());
    ProgramRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(errors)};
    std::filesystem::remove(errors);
    return run;
}

}  // namespace

// Without a display the launcher cannot be shown: the run ends as if it were quit.
TEST(Program, WithoutADisplaySaysSoAndEndsWithTheClosingLinesAndStatusTwo) {
    ScratchDirectory directory;
    const ProgramRun run = runProgramIn(directory);
    EXPECT_EQ(run.status, 2) << run.standardError;
    EXPECT_NE(run.standardError.find("no display was found"), std::string::npos) << run.standardError;
    EXPECT_NE(run.standardError.find("kvor-capture records the show without one."), std::string::npos);
    EXPECT_EQ(std::count(run.standardError.begin(), run.standardError.end(), '\n'), 1);
    const std::string log = readFile(directory / "kvorlog.txt");
    const std::regex expected(
        R"(kvor launched the \d+/\d+/\d+ at \d+:\d+\n\n\n-----------\nkvor closed\n----------\n)");
    EXPECT_TRUE(std::regex_match(log, expected)) << log;
}

TEST(Program, LogThatCannotBeCreatedIsFileNotFoundWithStatus255) {
    ScratchDirectory directory;
    std::filesystem::create_directory(directory / "kvorlog.txt");
    const ProgramRun run = runProgramIn(directory);
    EXPECT_EQ(run.status, 255);
    EXPECT_EQ(run.standardError, "error: error : file not found\n");
}
