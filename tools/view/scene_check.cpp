#include "tools/view/scene_check.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>

namespace view {

namespace {

std::string quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

using Pipe = std::unique_ptr<FILE, int (*)(FILE*)>;

// The last line the check printed on its standard error, and its status.
std::pair<std::string, int> outcome(Pipe pipe) {
    std::string said, line;
    for (int c; (c = std::fgetc(pipe.get())) != EOF;) {
        if (c != '\n') {
            line += static_cast<char>(c);
        } else if (!line.empty()) {
            said = line;
            line.clear();
        }
    }
    if (!line.empty()) said = line;
    const int status = pclose(pipe.release());
    return {said, status};
}

}  // namespace

std::string inspectProgram() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    for (const auto& candidate : {self / "kvor-inspect", self.parent_path() / "inspect" / "kvor-inspect",
                                  self.parent_path() / "tools" / "inspect" / "kvor-inspect"})
        if (!error && access(candidate.c_str(), X_OK) == 0) return candidate.string();
    return "kvor-inspect";
}

std::optional<std::string> unreadableScene(const std::string& inspect, const std::vector<std::string>& scenes) {
    std::vector<Pipe> checks;
    for (const std::string& scene : scenes) {
        // Without a display its fatal stop says why on standard error instead
        // of in a message box waiting for a click.
        const std::string command =
            "env -u DISPLAY -u WAYLAND_DISPLAY " + quoted(inspect) + " scene " + quoted(scene) + " 2>&1 >/dev/null";
        checks.emplace_back(popen(command.c_str(), "r"), pclose);
    }
    std::optional<std::string> first;
    for (size_t k = 0; k < checks.size(); ++k) {
        if (!checks[k]) {
            if (!first) first = scenes[k] + ": cannot start " + inspect;
            continue;
        }
        const auto [said, status] = outcome(std::move(checks[k]));
        if (status != 0 && !first) first = scenes[k] + ": " + (said.empty() ? "cannot be read" : said);
    }
    return first;
}

}  // namespace view
