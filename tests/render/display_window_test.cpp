// The primary display driver in a real X server: Xvfb on a free display
// number, openbox to allow full screen, xdotool to press Escape.

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "app/process_state.h"
#include "platform/hooks.h"
#include "render/display_state.h"
#include "render/renderer.h"
#include "tests/support/null_display.h"
#include "tests/support/test_support.h"

// Under AddressSanitizer: SDL's X11 start-up (D-Bus among it) keeps a few
// allocations for the process's life, inside libraries built without frame
// pointers, so their leaks cannot be attributed or suppressed by name. This
// program alone runs without leak detection; the sanitizers' other checks stay.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

extern char** environ;

namespace {

// A program this test started; stopped and reaped by its own PID.
class ChildProcess {
public:
    explicit ChildProcess(std::vector<std::string> arguments, posix_spawn_file_actions_t* actions = nullptr) {
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), environ) != 0) pid = -1;
    }
    ~ChildProcess() {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    bool started() const { return pid > 0; }
    // The exit status once it has ended by itself, waiting at most the given time.
    int waitForExit(std::chrono::milliseconds limit) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (std::chrono::steady_clock::now() < deadline) {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return status;
            }
            usleep(20'000);
        }
        return -1;
    }

private:
    pid_t pid = -1;
};

// Xvfb writes the display number it chose on the descriptor it is given.
std::string readDisplayNumber(int descriptor) {
    std::string number;
    pollfd wanted{descriptor, POLLIN, 0};
    char c = 0;
    while (poll(&wanted, 1, 10'000) > 0 && read(descriptor, &c, 1) == 1 && c != '\n') number += c;
    return number;
}

bool waitForFile(const std::filesystem::path& path) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (std::filesystem::exists(path)) return true;
        usleep(50'000);
    }
    return false;
}

bool installed(const char* program) {
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

class DisplayWindow : public testing::Test {
protected:
    void SetUp() override {
        for (const char* program : {"Xvfb", "xdotool", "openbox"})
            if (!installed(program)) GTEST_SKIP() << program << " is not installed";
        int channel[2];
        ASSERT_EQ(pipe(channel), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, channel[0]);
        server =
            std::make_unique<ChildProcess>(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(channel[1]),
                                                                    "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
                                           &actions);
        posix_spawn_file_actions_destroy(&actions);
        close(channel[1]);
        std::string number = readDisplayNumber(channel[0]);
        close(channel[0]);
        ASSERT_FALSE(number.empty()) << "Xvfb gave no display number";
        setenv("DISPLAY", (":" + number).c_str(), 1);
        // A window mapped while openbox is still starting may never be managed.
        std::filesystem::path ready = scratch / "ready";
        windowManager =
            std::make_unique<ChildProcess>(std::vector<std::string>{"openbox", "--startup", "touch " + ready.string()});
        ASSERT_TRUE(waitForFile(ready)) << "openbox did not start";
        platform::setPrimaryDriver(platform::DriverKind::display);
        testing_support::requestDisplay(nullptr);
    }

    void TearDown() override {
        testing_support::releaseDisplay();
        windowManager.reset();
        server.reset();
    }

    // The demo's frame step, until the demo stops or the limit is reached.
    int runFrames(Renderer& renderer, int limit) {
        int frames = 0;
        while (demoRunning && frames < limit) {
            MSG message{};
            GetMessageA(&message, nullptr, 0, 0);
            TranslateMessage(&message);
            DispatchMessageA(&message);
            renderer.beginScene();
            renderer.endScene();
            renderer.flip();
            renderer.clear();
            ++frames;
        }
        return frames;
    }

    testing_support::ScratchDirectory scratch;
    std::unique_ptr<ChildProcess> server, windowManager;
};

}  // namespace

TEST_F(DisplayWindow, EscapeInTheWindowEndsTheFrameLoop) {
    Renderer renderer;
    ASSERT_EQ(renderer.setUp(), DD_OK);
    renderer.setDefaultRenderStates();
    ChildProcess escape(
        {"xdotool", "search", "--sync", "--name", "^kvor$", "windowactivate", "--sync", "key", "Escape"});
    int frames = runFrames(renderer, 900);  // 15 s at 60 Hz
    EXPECT_FALSE(demoRunning);
    EXPECT_LT(frames, 900);
    EXPECT_FALSE(IsWindow(renderWindow));
    EXPECT_EQ(escape.waitForExit(std::chrono::seconds(5)), 0);
}

// Xvfb offers no swap control: waiting flips pace themselves to 60 Hz.
TEST_F(DisplayWindow, FlipsWaitingForTheRetraceKeepTheRefreshRate) {
    Renderer renderer;
    ASSERT_EQ(renderer.setUp(), DD_OK);
    runFrames(renderer, 1);
    auto start = std::chrono::steady_clock::now();
    runFrames(renderer, 30);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(29 * 1000 / 60));
}
