// The player's window as the show finds and drives it: by its class, with
// WM_COMMAND sent the way the show sends them, silent (tests have no sound).

#include "tools/player/player_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <variant>
#include <vector>

#include "tests/windows/player/wave_bytes.h"

namespace {

constexpr WPARAM volumeUp = 40058, volumeDown = 40059, play = 40045, closePlayer = 40001;

player::Soundtrack twoSeconds() {
    return std::get<player::Soundtrack>(player::parseWave(waveBytes(8000, 1, 16, std::vector<uint8_t>(32000, 0))));
}

// The events of a log, without their times; the times, checked to be in order.
std::vector<std::string> events(const std::filesystem::path& file) {
    std::ifstream stream(file);
    const std::regex line(R"( *(\d+\.\d{3}) s  (.*))");
    std::vector<std::string> found;
    double last = 0.0;
    for (std::string text; std::getline(stream, text);) {
        std::smatch match;
        EXPECT_TRUE(std::regex_match(text, match, line)) << text;
        if (match.empty()) continue;
        EXPECT_GE(std::stod(match[1]), last) << text;
        last = std::stod(match[1]);
        found.push_back(match[2]);
    }
    return found;
}

class PlayerWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window = player::createPlayerWindow(GetModuleHandleA(nullptr), playback);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        if (IsWindow(window)) DestroyWindow(window);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    void send(WPARAM command, int times = 1) {
        for (int k = 0; k < times; ++k) SendMessageA(FindWindowA("Winamp v1.x", nullptr), WM_COMMAND, command, 0);
    }

    // Removed after the log that holds it open is closed.
    struct TemporaryFile {
        std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("kvor-player-test-" + std::to_string(GetCurrentProcessId()) + ".txt");
        ~TemporaryFile() { std::filesystem::remove(path); }
    } temporary;
    const std::filesystem::path& logFile = temporary.path;
    player::CommandLog log{logFile};
    player::Playback playback{twoSeconds(), player::Output::silent, log};
    HWND window = nullptr;
};

TEST_F(PlayerWindow, IsFoundByTheClassTheShowLooksFor) {
    EXPECT_EQ(FindWindowA("Winamp v1.x", nullptr), window);
    EXPECT_TRUE(playback.silent());
    EXPECT_THAT(playback.deviceLine(), ::testing::HasSubstr("silent"));
}

TEST_F(PlayerWindow, VolumeStepsByOnePercentWithinItsRange) {
    struct Step {
        WPARAM command;
        int times;
        int volume;
    };
    // From 50 %: the show's hundred steps up stop at 100, its hundred down reach 0.
    const Step steps[] = {{volumeUp, 1, 51},    {volumeUp, 100, 100}, {volumeDown, 30, 70},
                          {volumeDown, 100, 0}, {volumeDown, 1, 0},   {volumeUp, 1, 1}};
    for (const Step& step : steps) {
        send(step.command, step.times);
        EXPECT_EQ(playback.volume(), step.volume) << step.command << " x " << step.times;
    }
    const std::vector<std::string> logged = events(logFile);
    ASSERT_EQ(logged.size(), 1u + 1 + 100 + 30 + 100 + 1 + 1);
    EXPECT_EQ(logged[1], "volume up: 51 %");
    EXPECT_EQ(logged[101], "volume up: 100 %");
    EXPECT_EQ(logged.back(), "volume up: 1 %");
}

TEST_F(PlayerWindow, PlayStartsTheClockOfASilentPlayer) {
    EXPECT_FALSE(playback.playing());
    EXPECT_EQ(playback.position(), 0.0);
    send(play);
    EXPECT_TRUE(playback.playing());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (playback.position() < 0.05 && std::chrono::steady_clock::now() < deadline) Sleep(10);
    EXPECT_GE(playback.position(), 0.05);
    EXPECT_LE(playback.position(), 2.0);
    EXPECT_THAT(playback.stateLine(), ::testing::StartsWith("Playing"));
    EXPECT_EQ(events(logFile).back(), "play from the start");
}

TEST_F(PlayerWindow, CloseDestroysTheWindowAndEndsTheLoop) {
    send(play);
    send(closePlayer);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(FindWindowA("Winamp v1.x", nullptr), nullptr);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_THAT(events(logFile),
                ::testing::ElementsAre(::testing::StartsWith("soundtrack of 0:02"), "play from the start", "close"));
}

TEST_F(PlayerWindow, OtherCommandsAreNotTheShowsAndChangeNothing) {
    for (WPARAM other : {WPARAM(0), WPARAM(40044), WPARAM(40046), WPARAM(40060), WPARAM(40157)}) send(other);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(playback.volume(), 50);
    EXPECT_FALSE(playback.playing());
    EXPECT_EQ(events(logFile).size(), 1u);
}

}  // namespace
