// kvor-view as a person uses it, on a private X server: the timeline's keys
// move the frame the title shows, a scene written again is loaded again at
// the same frame, a damaged one leaves the last good scene, and a real mpv on
// a private session bus follows pauses and jumps.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <thread>

#include "tests/support/demo_data.h"
#include "tests/support/test_support.h"
#include "tests/support/x_session.h"
#include "tools/kvs/kvs_writer.h"

using namespace std::chrono_literals;
using testing_support::ChildProcess;
using testing_support::commandOutput;

namespace {

constexpr int64_t montFrames = 200;

// Polls check every 50 ms until it holds or the limit passes.
bool eventually(const std::function<bool()>& check, std::chrono::milliseconds limit = 10s) {
    for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
        if (check()) return true;
        std::this_thread::sleep_for(50ms);
    }
    return check();
}

// A mono 16-bit WAVE file of silence.
void writeSilence(const std::filesystem::path& file, int seconds) {
    const uint32_t rate = 8000, bytes = rate * 2 * static_cast<uint32_t>(seconds);
    std::ofstream out(file, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out << "RIFF";
    u32(36 + bytes);
    out << "WAVEfmt ";
    u32(16), u16(1), u16(1), u32(rate), u32(rate * 2), u16(2), u16(16);
    out << "data";
    u32(bytes);
    out << std::string(bytes, '\0');
}

class ViewWindow : public testing::Test {
protected:
    void SetUp() override {
        if (std::string missing = testing_support::XSession::missingProgram(); !missing.empty())
            GTEST_SKIP() << missing << " is not installed";
        session = std::make_unique<testing_support::XSession>();
        ASSERT_TRUE(session->ready()) << "the X session did not start";
        setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/kvor-test-bus", 1);
        // Under AddressSanitizer the GL driver's own allocations, made in a
        // library it has unloaded by the exit, count as leaks and would change
        // kvor-view's status; every other check stays.
        const char* sanitizer = std::getenv("ASAN_OPTIONS");
        setenv("ASAN_OPTIONS", (std::string(sanitizer ? sanitizer : "") + ":detect_leaks=0").c_str(), 1);
    }
    void TearDown() override {
        viewer.reset();
        player.reset();
        bus.reset();
        session.reset();
    }

    void startViewer() {
        viewer = std::make_unique<ChildProcess>(std::vector<std::string>{KVOR_VIEW, datas().string()}, errors);
        ASSERT_TRUE(eventually([&] { return frame().has_value(); }, 30s))
            << "no kvor-view window; standard error: " << testing_support::readFile(errors);
    }

    std::filesystem::path datas() const { return demo.path() / "datas"; }

    std::string title() const {
        return commandOutput("xdotool search --name '^kvor-view: ' getwindowname %@ 2>/dev/null").value_or("");
    }
    // The show's frame in the title.
    std::optional<int64_t> frame() const {
        std::smatch match;
        const std::string text = title();
        if (!std::regex_search(text, match, std::regex("frame (\\d+),"))) return std::nullopt;
        return std::stoll(match[1]);
    }
    bool frameBecomes(int64_t expected) const {
        return eventually([&] { return frame() == expected; });
    }
    void press(const std::string& key) const { ASSERT_TRUE(session->key(key)) << key; }
    void pauseAt(int64_t showFrame) {
        press("space");
        ASSERT_TRUE(eventually([&] { return title().find(", paused") != std::string::npos; })) << title();
        press("Home");
        ASSERT_TRUE(frameBecomes(0)) << title();
        press("Next");
        ASSERT_TRUE(frameBecomes(1500)) << title();
        for (int64_t at = 1500; at < showFrame; ++at) press("shift+Right");
        ASSERT_TRUE(frameBecomes(showFrame)) << title();
    }

    testing_support::DemoDirectory demo{testing_support::DemoScenes{{0, 29}, {0, montFrames - 1}, {0, 99}}};
    std::filesystem::path errors = demo.path() / "stderr.txt";
    std::unique_ptr<testing_support::XSession> session;
    std::unique_ptr<ChildProcess> bus, player, viewer;
};

}  // namespace

TEST_F(ViewWindow, KeysMoveTheFrameAsTheySay) {
    startViewer();
    pauseAt(1510);
    struct Step {
        const char* key;
        int64_t frame;
    };
    for (const Step& step : {Step{"Right", 1570}, Step{"shift+Right", 1571}, Step{"Left", 1511},
                             Step{"shift+Left", 1510}, Step{"Next", 1500 + montFrames}, Step{"Prior", 1500},
                             Step{"Prior", 0}, Step{"shift+Left", 0}, Step{"End", 0}, Step{"Next", 1500},
                             Step{"Home", 0}}) {
        press(step.key);
        EXPECT_TRUE(frameBecomes(step.frame)) << step.key << ": " << title();
    }
    EXPECT_THAT(title(), testing::HasSubstr("part 1/3, frame 0, scene frame 0, 0:00.00"));
    // Playing on, the frame moves at about the display's rate.
    press("space");
    EXPECT_TRUE(eventually([&] { return frame().value_or(0) > 30; })) << title();
    press("Escape");
    EXPECT_EQ(viewer->waitForExit(10s), 0) << testing_support::readFile(errors);
}

TEST_F(ViewWindow, AReWrittenSceneIsLoadedAtTheSameFrameAndADamagedOneKeepsTheLast) {
    startViewer();
    pauseAt(1510);
    kvs::SceneFile longer;
    longer.name = "mont";
    longer.lastFrame = 399;
    kvs::saveSceneFile(longer, datas() / "mont.kvs.new");
    std::filesystem::rename(datas() / "mont.kvs.new", datas() / "mont.kvs");
    EXPECT_TRUE(eventually([&] {
        return testing_support::readFile(errors).find("loaded again at frame 1510") != std::string::npos;
    })) << testing_support::readFile(errors);
    EXPECT_TRUE(frameBecomes(1510)) << title();
    press("Next");
    EXPECT_TRUE(frameBecomes(1900)) << "mont now has 400 frames: " << title();
    press("Prior");
    EXPECT_TRUE(frameBecomes(1500)) << title();

    std::ofstream(datas() / "mont.kvs", std::ios::binary | std::ios::trunc) << "kvor002 cut short";
    EXPECT_TRUE(eventually([&] { return title().find("cannot read mont.kvs") != std::string::npos; })) << title();
    EXPECT_THAT(testing_support::readFile(errors), testing::HasSubstr("cannot read mont.kvs"));
    EXPECT_TRUE(frameBecomes(1500)) << title();
    press("Right");
    EXPECT_TRUE(frameBecomes(1560)) << "the last good scene still plays: " << title();
}

TEST_F(ViewWindow, TheMusicFollowsPausesAndJumps) {
    for (const char* program : {"mpv", "dbus-daemon", "gdbus"})
        if (!commandOutput(std::string("command -v ") + program))
            GTEST_SKIP() << program << " is not installed";
    const std::filesystem::path socket = demo.path() / "bus";
    const std::string address = "unix:path=" + socket.string();
    bus = std::make_unique<ChildProcess>(
        std::vector<std::string>{"dbus-daemon", "--session", "--nofork", "--address=" + address});
    ASSERT_TRUE(eventually([&] { return std::filesystem::exists(socket); }));
    setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    setenv("KVOR_PLAYER", "org.mpris.MediaPlayer2.mpv", 1);
    writeSilence(datas() / "theme.wav", 60);
    player = std::make_unique<ChildProcess>(std::vector<std::string>{
        "mpv", "--no-config", "--script=/etc/mpv/scripts/mpris.so", "--ao=null", "--vo=null", "--idle=yes",
        "--keep-open=yes", "--hr-seek=yes", "--really-quiet", (datas() / "theme.wav").string()});
    const auto position = [] () -> std::optional<double> {
        const auto answer = commandOutput(
            "gdbus call --session --dest org.mpris.MediaPlayer2.mpv --object-path /org/mpris/MediaPlayer2 "
            "--method org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2.Player Position 2>/dev/null");
        std::smatch match;
        if (!answer || !std::regex_search(*answer, match, std::regex("int64 (-?\\d+)"))) return std::nullopt;
        return std::stod(match[1]) / 1e6;
    };
    ASSERT_TRUE(eventually([&] { return position().has_value(); })) << "mpv is not on the bus";
    startViewer();
    press("space");
    ASSERT_TRUE(eventually([&] { return title().find(", paused") != std::string::npos; })) << title();
    // Paused on part two's first frame, the show's 1500th: the music waits at 25 s.
    press("Next");
    ASSERT_TRUE(frameBecomes(1500)) << title();
    // mpv on its null audio output reports the position less what its
    // buffer holds (some 0.15 s); the steps between positions are exact.
    const auto near = [&](double seconds) {
        return eventually([&] { return std::abs(position().value_or(-9) - seconds) < 0.25; });
    };
    EXPECT_TRUE(near(25.0)) << position().value_or(-9);
    const double atPartTwo = position().value_or(-9);
    press("Right");
    EXPECT_TRUE(near(26.0)) << position().value_or(-9);
    EXPECT_NEAR(position().value_or(-9) - atPartTwo, 1.0, 0.02);
    press("Home");
    EXPECT_TRUE(near(0.0)) << position().value_or(-9);
    press("space");
    EXPECT_TRUE(eventually([&] { return position().value_or(0) > 0.5; })) << position().value_or(-9);
    unsetenv("KVOR_PLAYER");
}
