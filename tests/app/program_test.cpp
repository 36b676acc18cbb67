// The kvor program as a user starts it, on a machine without a display.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>

#include "tests/support/shell_command.h"
#include "tests/support/test_support.h"

using testing_support::CommandRun;
using testing_support::readFile;
using testing_support::ScratchDirectory;

namespace {

CommandRun runProgramIn(const ScratchDirectory& directory) {
    return testing_support::runIn(directory.path(),
                                  "env -u DISPLAY -u WAYLAND_DISPLAY " + testing_support::quoted(KVOR_PROGRAM));
}

}  // namespace

// Without a display the launcher cannot be shown: the run ends as if it were quit.
TEST(Program, WithoutADisplaySaysSoAndEndsWithTheClosingLinesAndStatusTwo) {
    ScratchDirectory directory;
    const CommandRun run = runProgramIn(directory);
    EXPECT_EQ(run.status, 2) << run.errors;
    EXPECT_NE(run.errors.find("no display was found"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("kvor-capture records the show without one."), std::string::npos);
    EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1);
    const std::string log = readFile(directory / "kvorlog.txt");
    const std::regex expected(
        R"(kvor launched the \d+/\d+/\d+ at \d+:\d+\n\n\n-----------\nkvor closed\n----------\n)");
    EXPECT_TRUE(std::regex_match(log, expected)) << log;
}

TEST(Program, LogThatCannotBeCreatedIsFileNotFoundWithStatus255) {
    ScratchDirectory directory;
    std::filesystem::create_directory(directory / "kvorlog.txt");
    const CommandRun run = runProgramIn(directory);
    EXPECT_EQ(run.status, 255);
    EXPECT_EQ(run.errors, "error: error : file not found\n");
}
