// kvor as a person uses it: the launcher on a private X server, clicked and
// keyed with xdotool, photographed with ImageMagick. The screenshots stay in
// the build tree (screenshots/) to be looked at.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/support/demo_data.h"
#include "tests/support/test_support.h"
#include "tests/support/x_session.h"

using namespace std::chrono_literals;
using testing_support::readFile;

namespace {

// Where a point given in the launcher's dialog units lands in its window.
struct DialogPlacement {
    std::string window;
    testing_support::WindowGeometry client;
    int x(double units) const { return static_cast<int>(units * client.width / 207); }
    int y(double units) const { return static_cast<int>(units * client.height / 143); }
};

// Windows rounds base units to whole pixels: the client area must be 207 x 143
// dialog units of some whole base width and height.
bool isWholeDialogUnits(const testing_support::WindowGeometry& client) {
    bool width = false, height = false;
    for (int base = 4; base <= 12; ++base) width |= client.width == (207 * base + 2) / 4;
    for (int base = 8; base <= 24; ++base) height |= client.height == (143 * base + 4) / 8;
    return width && height;
}

class LauncherWindow : public testing::Test {
protected:
    void SetUp() override {
        if (std::string missing = testing_support::XSession::missingProgram(); !missing.empty())
            GTEST_SKIP() << missing << " is not installed";
        session = std::make_unique<testing_support::XSession>();
        ASSERT_TRUE(session->ready()) << "the X session did not start";
        // No session bus: the show finds no music player and sends nothing.
        setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/kvor-test-bus", 1);
        setenv("KVOR_DEBUG_OUTPUT", "1", 1);
        // Under AddressSanitizer GTK's fontconfig and GLib caches count as
        // leaks at exit and would change kvor's status; every other check stays.
        const char* sanitizer = std::getenv("ASAN_OPTIONS");
        setenv("ASAN_OPTIONS", (std::string(sanitizer ? sanitizer : "") + ":detect_leaks=0").c_str(), 1);
        std::filesystem::create_directories(KVOR_SCREENSHOTS);
    }

    void TearDown() override {
        program.reset();
        session.reset();
        unsetenv("KVOR_DEBUG_OUTPUT");
    }

    // Starts kvor in the demo directory and waits for its launcher.
    DialogPlacement startLauncher() {
        program = std::make_unique<testing_support::ChildProcess>(std::vector<std::string>{KVOR_PROGRAM}, errors);
        auto window = session->waitForWindow("^kvor$", 20s);
        EXPECT_TRUE(window.has_value()) << "no launcher window; standard error: " << readFile(errors);
        auto client = window ? session->geometry(*window) : std::nullopt;
        return DialogPlacement{window.value_or(""), client.value_or(testing_support::WindowGeometry{})};
    }

    bool waitForText(const std::string& text, std::chrono::seconds limit) const {
        for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
            if (readFile(errors).find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(100ms);
        }
        return false;
    }

    // Photographs the screen until its brightest pixel passes half of full scale.
    bool waitForBrightScreen(std::chrono::seconds limit) const {
        for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
            const std::filesystem::path shown = screenshot("show");
            auto brightest =
                testing_support::commandOutput("convert '" + shown.string() + "' -format '%[fx:maxima]' info:");
            if (brightest && std::atof(brightest->c_str()) > 0.5) return true;
        }
        return false;
    }

    std::string log() const { return readFile(demo.path() / "kvorlog.txt"); }
    std::filesystem::path screenshot(const std::string& name) const {
        std::filesystem::path file = std::filesystem::path(KVOR_SCREENSHOTS) / (name + ".png");
        EXPECT_TRUE(session->screenshot(file));
        return file;
    }

    testing_support::DemoDirectory demo{testing_support::DemoScenes{}};
    std::filesystem::path errors = demo.path() / "stderr.txt";
    std::unique_ptr<testing_support::XSession> session;
    std::unique_ptr<testing_support::ChildProcess> program;
};

void expectClosingLines(const std::string& log) {
    EXPECT_NE(log.find("-----------------------\nenumerating devices\n-----------------------\n\ndisplay\n"
                       "Primary Display Driver\n\nenumerating video mode :\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("640x480x16 \n"), std::string::npos);
    const std::string closing = "\n-----------\nkvor closed\n----------\n";
    EXPECT_EQ(log.substr(log.size() - std::min(log.size(), closing.size())), closing);
}

TEST_F(LauncherWindow, ShowsTheTemplateAndQuitEndsWithStatusTwo) {
    DialogPlacement dialog = startLauncher();
    EXPECT_TRUE(isWholeDialogUnits(dialog.client)) << dialog.client.width << " x " << dialog.client.height;
    screenshot("launcher");
    ASSERT_TRUE(session->click(dialog.window, dialog.x(86 + 37 / 2.0), dialog.y(91 + 7)));
    EXPECT_EQ(program->waitForExit(10s), 2) << readFile(errors);
    expectClosingLines(log());
}

TEST_F(LauncherWindow, EscapeEndsWithStatusTwo) {
    startLauncher();
    ASSERT_TRUE(session->key("Escape"));
    EXPECT_EQ(program->waitForExit(10s), 2) << readFile(errors);
    expectClosingLines(log());
}

TEST_F(LauncherWindow, LaunchRunsTheShowUntilEscape) {
    DialogPlacement dialog = startLauncher();
    ASSERT_TRUE(session->click(dialog.window, dialog.x(86 + 37 / 2.0), dialog.y(70 + 7)));
    ASSERT_TRUE(waitForText("rendering scene", 60s)) << readFile(errors);
    // Past frame 50 the first title fades in over the scene: the screen lights up.
    EXPECT_TRUE(waitForBrightScreen(60s)) << "the screen stayed dark during the show";
    ASSERT_TRUE(session->key("Escape"));
    EXPECT_EQ(program->waitForExit(60s), 2) << readFile(errors);
    const std::string written = log();
    expectClosingLines(written);
    EXPECT_NE(written.find("set displayMode success"), std::string::npos) << written;
}

TEST_F(LauncherWindow, FatalStopDuringTheShowShowsItsMessageBoxThenEndsWith255) {
    testing_support::writeFile(demo.path() / "datas" / "mont.kvs", std::string("not a scene"));
    DialogPlacement dialog = startLauncher();
    ASSERT_TRUE(session->click(dialog.window, dialog.x(86 + 37 / 2.0), dialog.y(70 + 7)));
    auto box = session->waitForWindow("^error!$", 60s);
    ASSERT_TRUE(box.has_value()) << readFile(errors);
    EXPECT_FALSE(program->waitForExit(500ms).has_value()) << "the program ended before the box was dismissed";
    screenshot("fatal-stop");
    ASSERT_TRUE(session->key("Return"));
    EXPECT_EQ(program->waitForExit(20s), 255) << readFile(errors);
    EXPECT_NE(readFile(errors).find("error!: "), std::string::npos) << readFile(errors);
}

}  // namespace
