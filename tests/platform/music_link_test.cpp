// The music link against a real player: mpv with its MPRIS plug-in on a
// private session bus that this program starts for itself (it runs again
// inside dbus-run-session), so the user's own bus is never touched.

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/demo_driver.h"
#include "platform/layer.h"
#include "tests/support/demo_data.h"
#include "tests/support/null_display.h"
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

// The test's own view of the bus, apart from the link under test.
class BusProbe {
public:
    BusProbe() : connection(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr)) {}
    ~BusProbe() {
        if (connection != nullptr) g_object_unref(connection);
    }

    bool hasName(const char* name) const {
        GVariant* answer = callSync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                    "NameHasOwner", g_variant_new("(s)", name));
        if (answer == nullptr) return false;
        gboolean owned = FALSE;
        g_variant_get(answer, "(b)", &owned);
        g_variant_unref(answer);
        return owned != FALSE;
    }

    // The player's property, or NaN / "" when it does not answer.
    double volume() const {
        GVariant* value = property("Volume");
        const double volume = value != nullptr ? g_variant_get_double(value) : std::nan("");
        if (value != nullptr) g_variant_unref(value);
        return volume;
    }
    std::string playbackStatus() const {
        GVariant* value = property("PlaybackStatus");
        std::string status = value != nullptr ? g_variant_get_string(value, nullptr) : "";
        if (value != nullptr) g_variant_unref(value);
        return status;
    }

private:
    GVariant* property(const char* name) const {
        GVariant* answer = callSync(mpvName, "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties", "Get",
                                    g_variant_new("(ss)", "org.mpris.MediaPlayer2.Player", name));
        if (answer == nullptr) return nullptr;
        GVariant* value = nullptr;
        g_variant_get(answer, "(v)", &value);
        g_variant_unref(answer);
        return value;
    }

    GVariant* callSync(const char* name, const char* path, const char* interface, const char* method,
                       GVariant* parameters) const {
        return g_dbus_connection_call_sync(connection, name, path, interface, method, parameters, nullptr,
                                           G_DBUS_CALL_FLAGS_NO_AUTO_START, 1000, nullptr, nullptr);
    }

    GDBusConnection* connection;
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

// The show on the null driver with the player on the bus: the volume and the
// player's state sampled from outside every 10 ms.
TEST_F(MusicLink, TheShowStartsFadesAndClosesThePlayer) {
    startPlayer();
    struct Sample {
        Clock::time_point when;
        double volume;
        std::string status;
    };
    std::vector<Sample> samples;
    std::atomic<bool> sampling = true;
    std::thread sampler([&] {
        BusProbe probe;
        while (sampling) {
            samples.push_back({Clock::now(), probe.volume(), probe.playbackStatus()});
            std::this_thread::sleep_for(milliseconds(10));
        }
    });
    {
        testing_support::LogCapture log;
        testing_support::NullDriverScope driver;
        // Long enough scenes for the samples to see the show playing.
        testing_support::DemoDirectory datas({{0, 9}, {0, 2999}, {0, 2999}});
        EXPECT_EQ(runDemo(), 0);
    }
    EXPECT_TRUE(player->waitForExit(milliseconds(5000)));
    sampling = false;
    sampler.join();

    // Playing at full volume once started; then down step by step to 0 over
    // about three seconds; then gone.
    auto firstAt = [&](auto predicate) { return std::find_if(samples.begin(), samples.end(), predicate); };
    const auto started = firstAt([](const Sample& s) { return s.status == "Playing" && s.volume == 1.0; });
    ASSERT_NE(started, samples.end()) << "never seen playing at full volume";
    const auto fading = std::find_if(started, samples.end(), [](const Sample& s) { return s.volume < 0.99; });
    // The close follows the last step by 30 ms: the last answer may be just before it.
    const auto gone = firstAt([](const Sample& s) { return std::isnan(s.volume); });
    ASSERT_NE(fading, samples.end());
    ASSERT_NE(gone, samples.end());
    ASSERT_GT(gone, fading);
    const Sample& last = *(gone - 1);
    EXPECT_LE(last.volume, 0.02);
    EXPECT_GT(last.when - fading->when, milliseconds(2800));
    EXPECT_LT(last.when - fading->when, milliseconds(3300));
    size_t distinctLevels = 0;
    for (auto s = fading; s + 1 != gone; ++s) {
        EXPECT_LE((s + 1)->volume, s->volume);
        distinctLevels += (s + 1)->volume < s->volume;
    }
    EXPECT_GT(distinctLevels, 60u);  // a ramp, not a drop
    EXPECT_TRUE(std::all_of(gone, samples.end(), [](const Sample& s) { return std::isnan(s.volume); }));
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
