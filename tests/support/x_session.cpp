#include "tests/support/x_session.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <thread>

#include "tests/support/test_support.h"

extern char** environ;

namespace testing_support {

namespace {

std::string readDisplayNumber(int descriptor) {
    std::string number;
    pollfd wanted{descriptor, POLLIN, 0};
    char c = 0;
    while (poll(&wanted, 1, 10'000) > 0 && read(descriptor, &c, 1) == 1 && c != '\n') number += c;
    return number;
}

bool installed(const char* program) {
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

pid_t spawn(std::vector<std::string>& arguments, posix_spawn_file_actions_t* actions) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

}  // namespace

ChildProcess::ChildProcess(std::vector<std::string> arguments, const std::filesystem::path& standardError,
                           int closedInChild) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (closedInChild >= 0) posix_spawn_file_actions_addclose(&actions, closedInChild);
    if (!standardError.empty())
        posix_spawn_file_actions_addopen(&actions, 2, standardError.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid = spawn(arguments, &actions);
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (pid > 0 && std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
}

std::string XSession::missingProgram() {
    for (const char* program : {"Xvfb", "openbox", "xdotool", "import"})
        if (!installed(program)) return program;
    return {};
}

XSession::XSession(WindowManager manager) {
    int channel[2];
    if (pipe(channel) != 0) return;
    server = std::make_unique<ChildProcess>(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(channel[1]),
                                                                     "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
                                            "/dev/null", channel[0]);
    close(channel[1]);
    std::string number = server->started() ? readDisplayNumber(channel[0]) : "";
    close(channel[0]);
    if (number.empty()) return;
    setenv("DISPLAY", (":" + number).c_str(), 1);
    if (manager == WindowManager::none) {
        display = ":" + number;
        return;
    }
    // A window mapped while openbox is still starting may never be managed.
    ScratchDirectory flag;
    std::filesystem::path started = flag / "started";
    windowManager = std::make_unique<ChildProcess>(
        std::vector<std::string>{"openbox", "--startup", "touch " + started.string()}, "/dev/null");
    for (int attempt = 0; attempt < 200 && !std::filesystem::exists(started); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (std::filesystem::exists(started)) display = ":" + number;
}

XSession::~XSession() {
    windowManager.reset();
    server.reset();
}

std::optional<std::string> commandOutput(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::string output;
    char buffer[256];
    while (size_t count = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, count);
    return pclose(pipe) == 0 ? std::optional(output) : std::nullopt;
}

std::optional<std::string> XSession::waitForWindow(const std::string& titlePattern,
                                                   std::chrono::milliseconds limit) const {
    auto deadline = std::chrono::steady_clock::now() + limit;
    do {
        auto found = commandOutput("xdotool search --onlyvisible --name '" + titlePattern + "' 2>/dev/null");
        if (found && !found->empty()) return found->substr(0, found->find('\n'));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

std::optional<WindowGeometry> XSession::geometry(const std::string& window) const {
    auto shell = commandOutput("xdotool getwindowgeometry --shell " + window);
    if (!shell) return std::nullopt;
    WindowGeometry geometry;
    std::istringstream lines(*shell);
    for (std::string line; std::getline(lines, line);) {
        size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string name = line.substr(0, equals);
        int value = std::atoi(line.c_str() + equals + 1);
        if (name == "X") geometry.x = value;
        if (name == "Y") geometry.y = value;
        if (name == "WIDTH") geometry.width = value;
        if (name == "HEIGHT") geometry.height = value;
    }
    return geometry;
}

// Relative to the window: the absolute position xdotool reports for a window
// in a frame counts the frame's title bar twice.
bool XSession::click(const std::string& window, int x, int y) const {
    return commandOutput("xdotool mousemove --window " + window + " " + std::to_string(x) + " " + std::to_string(y) +
                         " click 1")
        .has_value();
}

bool XSession::key(const std::string& name) const { return commandOutput("xdotool key " + name).has_value(); }

bool XSession::screenshot(const std::filesystem::path& png) const {
    return commandOutput("import -window root '" + png.string() + "'").has_value();
}

std::optional<Colour> XSession::pixel(int x, int y) const {
    auto bytes = commandOutput("import -window root -crop 1x1+" + std::to_string(x) + "+" + std::to_string(y) +
                               " -depth 8 rgb:-");
    if (!bytes || bytes->size() != 3) return std::nullopt;
    auto channel = [&](size_t index) { return int(static_cast<unsigned char>((*bytes)[index])); };
    return Colour{channel(0), channel(1), channel(2)};
}

}  // namespace testing_support
