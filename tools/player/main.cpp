// kvor-player: the show's music player for Windows. It opens the window the
// show sends its commands to and plays the soundtrack on the system's audio
// device (silently, by the clock, where there is none); its log records each
// command with its time.
//   kvor-player [--log FILE] [SOUNDTRACK.wav]
//       plays datas\kvor-theme.wav by default, logs to kvor-player-log.txt
//   kvor-player --start [--log FILE] [SOUNDTRACK.wav]
//       starts a player in the background unless one is running, and returns
//       once its window is open: kvor.bat starts the show after it

#include <windows.h>

#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "kvor_version.h"
#include "tools/player/player_commands.h"
#include "tools/player/player_window.h"

namespace {

struct Arguments {
    bool start = false;
    std::string log = "kvor-player-log.txt";
    std::string soundtrack = "datas\\kvor-theme.wav";
    std::string error;
};

Arguments parseArguments(const std::vector<std::string>& words) {
    Arguments arguments;
    bool haveSoundtrack = false;
    for (size_t k = 0; k < words.size(); ++k) {
        if (words[k] == "--start") {
            arguments.start = true;
        } else if (words[k] == "--log" && k + 1 < words.size()) {
            arguments.log = words[++k];
        } else if (!words[k].starts_with("-") && !haveSoundtrack) {
            arguments.soundtrack = words[k];
            haveSoundtrack = true;
        } else {
            arguments.error = "usage: kvor-player [--start] [--log FILE] [SOUNDTRACK.wav]";
        }
    }
    return arguments;
}

int complain(const std::string& text) {
    MessageBoxA(nullptr, text.c_str(), "kvor-player", MB_OK | MB_ICONERROR);
    return 1;
}

std::string quoted(const std::string& word) { return "\"" + word + "\""; }

// This program again without --start, waited for until its window is open or
// it has ended (it says itself why).
int startInBackground(const Arguments& arguments) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine = quoted(self) + " --log " + quoted(arguments.log) + " " + quoted(arguments.soundtrack);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return complain("cannot start " + std::string(self));
    CloseHandle(process.hThread);
    int status = 1;
    for (int waited = 0; waited < 10000; waited += 50) {
        if (FindWindowA(player::windowClass, nullptr)) {
            status = 0;
            break;
        }
        if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) break;
    }
    CloseHandle(process.hProcess);
    return status;
}

int play(HINSTANCE instance, const Arguments& arguments) {
    auto read = player::readWave(arguments.soundtrack);
    if (auto* problem = std::get_if<std::string>(&read)) return complain("cannot play the soundtrack: " + *problem);
    player::CommandLog log(arguments.log);
    log.write(std::string("kvor-player ") + kvorVersion + ": " + arguments.soundtrack);
    player::Playback playback(std::move(std::get<player::Soundtrack>(read)), player::Output::audioDevice, log);
    if (!player::createPlayerWindow(instance, playback)) return complain("cannot open the player's window");
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    log.write("ended");
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const Arguments arguments = parseArguments(std::vector<std::string>(__argv + 1, __argv + __argc));
    if (!arguments.error.empty()) return complain(arguments.error);
    // One player at a time: the show talks to the first window of the class,
    // the original player's when it runs.
    if (FindWindowA(player::windowClass, nullptr)) return 0;
    return arguments.start ? startInBackground(arguments) : play(instance, arguments);
}
