// The music link against a real player: mpv with its MPRIS plug-in on a
// private session bus that this program starts for itself (it runs again
// inside dbus-run-session), so the user's own bus is never touched.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "app/demo_driver.h"
#include "platform/layer.h"
#include "tests/support/demo_data.h"
#include "tests/support/null_display.h"
#include "tests/support/shell_command.h"
#include "tests/support/test_support.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr const char* privateBusMark = "KVOR_TEST_PRIVATE_BUS";
constexpr const char* mpvName = "org.mpris.MediaPlayer2.mpv";
constexpr const char* mprisPlugin = "/usr/lib/mpv-mpris/mpris.so";

// A second of a 440 Hz tone, 8 kHz mono 16-bit PCM: the player loops it.
void writeTone(const std::filesystem::path& path) {
    constexpr uint32_t rate = 8000;
    std::vector<int16_t> samples(rate);
    for (size_t n = 0; n < samples.size(); ++n)
        samples[n] = static_cast<int16_t>(8000 * std::sin(2 * 3.14159265358979 * 440 * n / rate));
    const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::ofstream file(path, std::ios::binary);
    auto put32 = [&](uint32_t v) { file.write(reinterpret_cast<const char*>(&v), 4); };
    auto put16 = [&](uint16_t v) { file.write(reinterpret_cast<const char*>(&v), 2); };
    file.write("RIFF", 4);
    put32(36 + dataBytes);
    file.write("WAVEfmt ", 8);
    put32(16);
    put16(1);
    put16(1);
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    file.write("data", 4);
    put32(dataBytes);
    file.write(reinterpret_cast<const char*>(samples.data()), dataBytes);
}

// The test's own view of the bus, apart from the link under test: the gdbus
// tool, one process a call, its answer read as GVariant text.
class BusProbe {
public:
    bool hasName(const char* name) const {
        return call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", name) ==
               "(true,)";
    }

    // The player's property, or NaN / "" when it does not answer.
    double volume() const {
        const std::string text = property("Volume");
        double volume = std::nan("");
        std::from_chars(text.data(), text.data() + text.size(), volume);
        return volume;
    }
    std::string playbackStatus() const {
        const std::string text = property("PlaybackStatus");  // quoted: 'Playing'
        return text.size() >= 2 ? text.substr(1, text.size() - 2) : "";
    }

private:
    // The value inside the answer "(<value>,)", or "".
    static std::string property(const char* name) {
        const std::string answer = call(mpvName, "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties.Get",
                                        std::string("org.mpris.MediaPlayer2.Player ") + name);
        if (!answer.starts_with("(<") || !answer.ends_with(">,)")) return "";
        return answer.substr(2, answer.size() - 5);
    }

    // The answer's line, or "" when the call fails. A busy machine can take a
    // second just to start the process. No argument here needs quoting.
    static std::string call(const std::string& name, const char* path, const char* method,
                            const std::string& arguments) {
        std::string answer =
            testing_support::runIn(".", "gdbus call --session --timeout 3 --dest " + name + " --object-path " + path +
                                            " --method " + method + " " + arguments)
                .output;
        while (!answer.empty() && answer.back() == '\n') answer.pop_back();
        return answer;
    }
};

// What the test knows of the player after a line of gdbus monitor: each line
// about it keeps the values it does not mention.
struct PlayerState {
    Clock::time_point when;
    bool onBus = false;
    double volume = std::nan("");
    std::string status;
};

// The text GVariant prints for a property inside "'Name': <...>", if there.
std::optional<std::string_view> printedValue(std::string_view line, std::string_view name) {
    const std::string opening = "'" + std::string(name) + "': <";
    const size_t start = line.find(opening);
    if (start == std::string_view::npos) return std::nullopt;
    const std::string_view rest = line.substr(start + opening.size());
    return rest.substr(0, rest.find('>'));
}

// The state after a line, or nothing when the line tells nothing of the
// player's name, volume or playback. A player off the bus has no state.
std::optional<PlayerState> after(PlayerState state, std::string_view line) {
    if (line.starts_with("The name ")) {
        PlayerState next;
        next.onBus = line.find(" is owned by ") != std::string_view::npos;
        return next;
    }
    if (line.find(".PropertiesChanged ") == std::string_view::npos) return std::nullopt;
    const auto volume = printedValue(line, "Volume");
    const auto status = printedValue(line, "PlaybackStatus");  // quoted: 'Playing'
    if (!volume && !status) return std::nullopt;
    if (volume) std::from_chars(volume->data(), volume->data() + volume->size(), state.volume);
    if (status && status->size() >= 2) state.status = status->substr(1, status->size() - 2);
    return state;
}

// One gdbus monitor on the player's name for the object's life: every change
// the player announces and every change of the name's owner, stamped as its
// line arrives. Unlike looking from time to time, it misses nothing on a busy
// machine: the load only delays the stamps a little.
class PlayerWatch {
public:
    PlayerWatch() {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0) return;
        output = ends[0];
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
        // Untranslated, so that the name's lines read as after() expects.
        std::vector<const char*> arguments = {"env",       "LC_ALL=C", "gdbus", "monitor",
                                              "--session", "--dest",   mpvName, nullptr};
        if (posix_spawnp(&pid, "env", &actions, nullptr, const_cast<char**>(arguments.data()), environ) != 0) pid = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(ends[1]);  // the monitor's is then the only writing end: its exit ends the reading
        reader = std::thread([this] { readLines(); });
    }
    ~PlayerWatch() {
        if (pid > 0) kill(pid, SIGTERM);
        while (pid > 0 && waitpid(pid, nullptr, 0) < 0 && errno == EINTR) continue;
        if (reader.joinable()) reader.join();
        if (output >= 0) close(output);
    }
    PlayerWatch(const PlayerWatch&) = delete;
    PlayerWatch& operator=(const PlayerWatch&) = delete;

    // Whether the record meets the condition within the patience.
    template <typename Condition>
    bool waitUntil(Condition condition, milliseconds patience) {
        std::unique_lock lock(mutex);
        return grown.wait_for(lock, patience, [&] { return condition(std::as_const(states)); });
    }
    std::vector<PlayerState> record() const {
        std::lock_guard lock(mutex);
        return states;
    }

private:
    void readLines() {
        std::string pending;
        char buffer[4096];
        for (ssize_t got; (got = read(output, buffer, sizeof buffer)) > 0;) {
            const Clock::time_point when = Clock::now();
            pending.append(buffer, static_cast<size_t>(got));
            for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1))
                take(std::string_view(pending).substr(0, end), when);
        }
    }
    void take(std::string_view line, Clock::time_point when) {
        std::lock_guard lock(mutex);
        std::optional<PlayerState> next = after(states.empty() ? PlayerState{} : states.back(), line);
        if (!next) return;
        next->when = when;
        states.push_back(std::move(*next));
        grown.notify_all();
    }

    pid_t pid = 0;
    int output = -1;
    mutable std::mutex mutex;
    std::condition_variable grown;
    std::vector<PlayerState> states;
    std::thread reader;
};

// mpv, paused at half volume on the looping tone, until it exits or the test ends.
class Player {
public:
    explicit Player(const std::filesystem::path& tone) {
        const std::string script = std::string("--script=") + mprisPlugin;
        const std::string file = tone.string();
        std::vector<const char*> arguments = {"mpv",       "--no-config",       "--no-video",     "--idle=yes",
                                              "--ao=null", "--load-scripts=no", script.c_str(),   "--volume=50",
                                              "--pause",   "--loop-file=inf",   "--really-quiet", file.c_str(),
                                              nullptr};
        if (posix_spawnp(&pid, "mpv", nullptr, nullptr, const_cast<char**>(arguments.data()), environ) != 0) pid = 0;
    }
    ~Player() {
        if (running()) kill(pid, SIGTERM);
        waitForExit(milliseconds(5000));
    }

    bool waitForName(const BusProbe& bus) const {
        for (auto end = Clock::now() + milliseconds(15000); Clock::now() < end;
             std::this_thread::sleep_for(milliseconds(50)))
            if (bus.hasName(mpvName)) return true;
        return false;
    }
    bool running() { return pid > 0 && !exited; }
    bool waitForExit(milliseconds patience) {
        for (auto end = Clock::now() + patience; running() && Clock::now() < end;) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
                exited = true;
            else
                std::this_thread::sleep_for(milliseconds(20));
        }
        return !running();
    }

private:
    pid_t pid = 0;
    bool exited = false;
};

class MusicLink : public testing::Test {
protected:
    void SetUp() override {
        writeTone(directory / "tone.wav");
        unsetenv("KVOR_PLAYER");
    }
    void startPlayer() {
        player = std::make_unique<Player>(directory / "tone.wav");
        ASSERT_TRUE(player->waitForName(bus)) << "mpv did not appear on the bus";
    }

    testing_support::ScratchDirectory directory;
    BusProbe bus;
    std::unique_ptr<Player> player;
};

HWND findPlayer() { return FindWindowA("Winamp v1.x", nullptr); }

void send(HWND player, WPARAM command, int times = 1) {
    for (int n = 0; n < times; ++n) SendMessageA(player, WM_COMMAND, command, 0);
}

}  // namespace

TEST_F(MusicLink, NoPlayerNoHandle) {
    EXPECT_EQ(findPlayer(), nullptr);
    startPlayer();
    setenv("KVOR_PLAYER", "org.mpris.MediaPlayer2.absent", 1);
    EXPECT_EQ(findPlayer(), nullptr);
    setenv("KVOR_PLAYER", mpvName, 1);
    EXPECT_NE(findPlayer(), nullptr);
    // No session bus at all: nothing is launched in its place.
    const std::string address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    setenv("XDG_RUNTIME_DIR", directory.path().c_str(), 1);
    EXPECT_EQ(findPlayer(), nullptr);
    setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
}

TEST_F(MusicLink, CommandsReachThePlayer) {
    startPlayer();
    const HWND link = findPlayer();
    ASSERT_NE(link, nullptr);
    EXPECT_DOUBLE_EQ(bus.volume(), 0.5);
    send(link, 40058, 30);
    EXPECT_NEAR(bus.volume(), 0.8, 1e-9);
    send(link, 40058, 70);  // the last twenty go past 1 and change nothing
    EXPECT_DOUBLE_EQ(bus.volume(), 1.0);
    EXPECT_EQ(bus.playbackStatus(), "Paused");
    send(link, 40045);
    EXPECT_EQ(bus.playbackStatus(), "Playing");
    send(link, 40059, 3);
    EXPECT_NEAR(bus.volume(), 0.97, 1e-9);
    SendMessageA(link, WM_PAINT, 40059, 0);  // not a command
    send(link, 12345);                       // not one of the four
    EXPECT_NEAR(bus.volume(), 0.97, 1e-9);
    send(link, 40001);
    EXPECT_TRUE(player->waitForExit(milliseconds(5000)));
    send(link, 40045);  // the player has gone: ignored
}

// The show on the null driver with the player on the bus, seen from outside
// through what the player announces of its volume and playback, and its name
// leaving the bus.
TEST_F(MusicLink, TheShowStartsFadesAndClosesThePlayer) {
    PlayerWatch watch;
    // Watching before the player starts, so that none of its announcements is missed.
    ASSERT_TRUE(watch.waitUntil([](const auto& record) { return !record.empty(); }, milliseconds(15000)))
        << "gdbus monitor did not start";
    startPlayer();
    {
        testing_support::LogCapture log;
        testing_support::NullDriverScope driver;
        // The player gathers its changes into one announcement about every
        // 100 ms: scenes long enough, half a second on an idle machine, for it
        // to announce full volume before the fade.
        testing_support::DemoDirectory datas({{0, 9}, {0, 29999}, {0, 29999}});
        EXPECT_EQ(runDemo(), 0);
    }
    EXPECT_TRUE(player->waitForExit(milliseconds(5000)));
    ASSERT_TRUE(watch.waitUntil([](const auto& record) { return !record.back().onBus; }, milliseconds(5000)))
        << "the player's name never left the bus";
    const std::vector<PlayerState> record = watch.record();

    // Playing at full volume once started; then down step by step to 0 over
    // about three seconds; then gone.
    auto firstFrom = [&](auto from, auto predicate) { return std::find_if(from, record.end(), predicate); };
    const auto started =
        firstFrom(record.begin(), [](const PlayerState& s) { return s.status == "Playing" && s.volume == 1.0; });
    ASSERT_NE(started, record.end()) << "never seen playing at full volume";
    const auto fading = firstFrom(started, [](const PlayerState& s) { return s.volume < 1.0; });
    const auto gone = firstFrom(started, [](const PlayerState& s) { return !s.onBus; });
    ASSERT_NE(gone, record.end());
    ASSERT_LT(fading, gone) << "no fade before the player left";
    EXPECT_LE((gone - 1)->volume, 0.02);
    // The player's announcements can come late on a busy machine, the first
    // as the last: a fade cut short or drawn out by seconds is still caught.
    EXPECT_GT(gone->when - fading->when, milliseconds(2000));
    EXPECT_LT(gone->when - fading->when, milliseconds(6000));
    size_t distinctLevels = 1;
    for (auto s = fading; s + 1 != gone; ++s) {
        EXPECT_LE((s + 1)->volume, s->volume);
        distinctLevels += (s + 1)->volume < s->volume;
    }
    // A ramp, not a drop. The player gathers the 30 ms steps into about one
    // announcement each 100 ms: some thirty of the hundred levels are seen,
    // idle or busy. Ten steps of 0.1 would stay well below this.
    EXPECT_GT(distinctLevels, 20u);
    EXPECT_TRUE(std::all_of(gone, record.end(), [](const PlayerState& s) { return !s.onBus; }));
}

TEST_F(MusicLink, WithoutAPlayerTheShowRunsTheSameWithItsFade) {
    testing_support::LogCapture log;
    testing_support::NullDriverScope driver;
    testing_support::DemoDirectory datas({{0, 9}, {0, 9}, {0, 9}});
    const auto start = Clock::now();
    EXPECT_EQ(runDemo(), 0);
    EXPECT_GE(Clock::now() - start, milliseconds(3000));
    EXPECT_EQ(testing_support::callsNamed("Flip").size(), 1500u + 10u + 5u);
}

// Runs again on a private session bus of its own when not already on one.
int main(int argc, char** argv) {
    if (std::getenv(privateBusMark) == nullptr) {
        setenv(privateBusMark, "1", 1);
        std::vector<char*> command = {const_cast<char*>("dbus-run-session"), const_cast<char*>("--")};
        command.insert(command.end(), argv, argv + argc);
        command.push_back(nullptr);
        execvp("dbus-run-session", command.data());
        std::perror("dbus-run-session");
        return 1;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
