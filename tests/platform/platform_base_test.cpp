#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>

#include "platform/test_seams.h"
#include "platform/win32.h"
#include "tests/support/test_support.h"

using testing::ExitedWithCode;
using testing::HasSubstr;
using testing::Not;
using testing_support::ScratchDirectory;

namespace {

// Restores the current directory at the end of a test that changes it.
class DirectoryGuard {
public:
    DirectoryGuard() : saved(std::filesystem::current_path()) {}
    ~DirectoryGuard() { std::filesystem::current_path(saved); }

private:
    std::filesystem::path saved;
};

}  // namespace

TEST(CurrentDirectory, FollowsTheWin32LengthContract) {
    DirectoryGuard guard;
    ScratchDirectory directory;
    std::filesystem::current_path(directory.path());
    const std::string expected = std::filesystem::current_path().string();

    char buffer[512];
    EXPECT_EQ(GetCurrentDirectoryA(sizeof buffer, buffer), expected.size());
    EXPECT_EQ(std::string(buffer), expected);

    char small[4];
    std::memset(small, '#', sizeof small);
    EXPECT_EQ(GetCurrentDirectoryA(sizeof small, small), expected.size() + 1) << "the size needed, terminator included";
    EXPECT_EQ(small[0], '#') << "a buffer too small is left alone";
    EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), expected.size() + 1);
}

TEST(CurrentDirectory, ChangesTakeWindowsSeparatorsAndReportFailure) {
    DirectoryGuard guard;
    ScratchDirectory directory;
    std::filesystem::create_directories(directory / "datas" / "maps");
    std::filesystem::current_path(directory.path());
    EXPECT_EQ(SetCurrentDirectoryA("datas\\maps"), TRUE);
    EXPECT_EQ(std::filesystem::current_path().filename(), "maps");
    EXPECT_EQ(SetCurrentDirectoryA("no such place"), FALSE);
    EXPECT_EQ(SetCurrentDirectoryA(nullptr), FALSE);
    EXPECT_EQ(std::filesystem::current_path().filename(), "maps");
}

TEST(LocalTime, FieldsAreInTheirWin32Ranges) {
    SYSTEMTIME now;
    std::memset(&now, 0xFF, sizeof now);
    GetLocalTime(&now);
    EXPECT_GE(now.wYear, 2024);
    EXPECT_GE(now.wMonth, 1);
    EXPECT_LE(now.wMonth, 12);
    EXPECT_GE(now.wDay, 1);
    EXPECT_LE(now.wDay, 31);
    EXPECT_LE(now.wHour, 23);
    EXPECT_LE(now.wMinute, 59);
    EXPECT_LE(now.wMilliseconds, 999);
    GetLocalTime(nullptr);
}

TEST(DebugOutputDeathTest, ReachesStandardErrorOnlyWhenAskedAndTheHookAlways) {
    EXPECT_EXIT(
        {
            setenv("KVOR_DEBUG_OUTPUT", "1", 1);
            OutputDebugStringA("objet textur\xE9\n");
            std::exit(0);
        },
        ExitedWithCode(0), "objet textur\xE9\n");
    EXPECT_EXIT(
        {
            unsetenv("KVOR_DEBUG_OUTPUT");
            OutputDebugStringA("quiet trace\n");
            std::exit(0);
        },
        ExitedWithCode(0), Not(HasSubstr("quiet trace")));

    std::string seen;
    platform::setDebugOutputHook([&seen](std::string_view text) { seen.append(text); });
    OutputDebugStringA("a");
    OutputDebugStringA(nullptr);
    OutputDebugStringA("b\n");
    platform::setDebugOutputHook({});
    OutputDebugStringA("after");
    EXPECT_EQ(seen, "ab\n");
}

TEST(MessageBoxDeathTest, BecomesOneLineOnStandardError) {
    EXPECT_EXIT(std::exit(MessageBoxA(nullptr, "Bad File format", "error!", MB_ICONERROR) == IDOK ? 0 : 1),
                ExitedWithCode(0), "^error!: Bad File format\n$");
}
