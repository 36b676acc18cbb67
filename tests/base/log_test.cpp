#include "base/fatal.h"
#include "base/log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "platform/directx.h"
#include "scene/scene.h"
#include "tests/support/test_support.h"

using testing_support::DebugOutputCapture;
using testing_support::LogCapture;
using testing_support::readFile;
using testing_support::ScratchDirectory;

TEST(Log, StartLineGivesTheLocalTimeWithoutLeadingZerosAndIsEchoedToTheDebugger) {
    logClose();
    DebugOutputCapture debug;
    LogCapture log;
    const std::regex startLine(R"(kvor launched the ([1-9]\d?)/([1-9]\d?)/(\d{4}) at (0|[1-9]\d?):(0|[1-9]\d?)\n\n)");
    std::smatch parts;
    const std::string text = log.text();
    ASSERT_TRUE(std::regex_match(text, parts, startLine)) << text;
    EXPECT_LE(std::stoi(parts[1]), 31);
    EXPECT_LE(std::stoi(parts[2]), 12);
    EXPECT_LE(std::stoi(parts[4]), 23);
    EXPECT_LE(std::stoi(parts[5]), 59);
    EXPECT_EQ(debug.text(), text.substr(0, text.size() - 1));
}

TEST(Log, TextIsWrittenAsDataWithItsNewline) {
    LogCapture log;
    logWrite("100%d done %s");
    logWrite2("create Zbuffer", " success");
    logWrite2("empty suffix", "");
    logFormat("nbVertex : %d\n", 42);
    EXPECT_EQ(log.textAfterStartLine(), "100%d done %s\ncreate Zbuffer success\nempty suffix\nnbVertex : 42\n");
}

TEST(Log, LaterOpenKeepsTheFirstFileAndOnlyReplacesTheRegisteredScene) {
    ScratchDirectory elsewhere;
    LogCapture log;
    const std::string before = log.text();
    Scene scene(nullptr, nullptr);  // registers itself through a second open
    EXPECT_EQ(registeredScene, &scene);

    logOpen((elsewhere / "logFile.txt").string().c_str(), nullptr);
    EXPECT_EQ(registeredScene, nullptr);
    logOpen((elsewhere / "c:\\kvorlog.txt").string().c_str(), &scene);
    EXPECT_EQ(registeredScene, &scene);

    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.path()));
    EXPECT_EQ(log.text(), before);
}

TEST(Log, DestroyedSceneIsNoLongerRegistered) {
    LogCapture log;
    {
        Scene scene(nullptr, nullptr);
        ASSERT_EQ(registeredScene, &scene);
    }
    EXPECT_EQ(registeredScene, nullptr);
}
