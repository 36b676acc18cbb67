#pragma once
// A private X session for end-to-end tests: Xvfb on a free display number with
// the openbox window manager, programs started and stopped by their own PIDs,
// and xdotool and ImageMagick run against that display.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// A program this test started; stopped (SIGTERM) and reaped by its PID.
class ChildProcess {
public:
    // standardError: a file that receives the program's standard error, or empty;
    // closedInChild: a descriptor of ours the program must not inherit, or -1.
    explicit ChildProcess(std::vector<std::string> arguments, const std::filesystem::path& standardError = {},
                          int closedInChild = -1);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid > 0; }
    // The exit status once it has ended by itself, or none when the time runs out.
    std::optional<int> waitForExit(std::chrono::milliseconds limit);

private:
    pid_t pid = -1;
};

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
};

struct Colour {
    int red = 0, green = 0, blue = 0;
};

class XSession {
public:
    enum class WindowManager { openbox, none };

    // Empty when Xvfb, openbox, xdotool or import is missing.
    static std::string missingProgram();
    // Sets DISPLAY for this process and its children.
    explicit XSession(WindowManager manager = WindowManager::openbox);
    ~XSession();
    bool ready() const { return !display.empty(); }

    // The first visible window whose title matches the pattern, waiting at most the limit.
    std::optional<std::string> waitForWindow(const std::string& titlePattern, std::chrono::milliseconds limit) const;
    std::optional<WindowGeometry> geometry(const std::string& window) const;
    // x and y from the window's top-left corner (inside its frame).
    bool click(const std::string& window, int x, int y) const;
    bool key(const std::string& name) const;  // to the focused window
    bool screenshot(const std::filesystem::path& png) const;
    // One pixel of the screen, 8 bits a channel.
    std::optional<Colour> pixel(int x, int y) const;

private:
    std::string display;
    std::unique_ptr<ChildProcess> server;
    std::unique_ptr<ChildProcess> windowManager;
};

// What the command printed on its standard output, or none when it failed.
std::optional<std::string> commandOutput(const std::string& command);

}  // namespace testing_support
