// The whole show recorded four ways in one run: drawing only, drawing and
// reading back every frame, to PNG files, to video through ffmpeg. Each way
// runs in a child process of its own (the show runs once per process) and
// reports its wall time from the end of loading to the end of the show, less
// the three seconds of the closing fade, and its processor time with ffmpeg's.
//
// Usage: capture_bench [--draw-only] [DATAS]  (default: the data the build generated)
//   --draw-only  the first way alone, for comparing with another build's rate

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/demo_driver.h"
#include "app/program_lifetime.h"
#include "platform/hooks.h"
#include "platform/player_link.h"
#include "tools/capture/show_length.h"
#include "tools/capture/video_encoder.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double fadeSeconds = 3.0;
const char moduleBase = 0;

enum class Way { draw, readBack, png, video };
const char* const wayNames[] = {"draw only", "read back", "PNG files", "video"};

struct Measure {
    double seconds = 0.0;     // loaded to shown, fade excluded
    double cpuSeconds = 0.0;  // this process and its children, loading included
};

double cpuOf(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs in the child: the show with the way's sink, in a scratch directory.
Measure recordOnce(Way way, const std::filesystem::path& scratch) {
    platform::setPrimaryDriver(platform::DriverKind::capture);
    platform::setPlayerFinder([] { return std::unique_ptr<platform::PlayerLink>(); });
    std::optional<Clock::time_point> loaded;
    platform::setDebugOutputHook([&](std::string_view text) {
        if (text == "rendering scene\n") loaded = Clock::now();
    });
    capture::VideoEncoder encoder(scratch / "show.mkv");
    if (way == Way::readBack) platform::setCaptureSink([](const platform::CapturedFrame&) {});
    if (way == Way::png) platform::setCaptureSink(platform::pngFrameSink(scratch));
    if (way == Way::video)
        platform::setCaptureSink(
            [&](const platform::CapturedFrame& frame) { encoder.addFrame(frame.width, frame.height, frame.rgb); });
    startProgram(reinterpret_cast<HINSTANCE>(const_cast<char*>(&moduleBase)));
    runDemo();
    endProgram();
    encoder.finish();
    const Clock::time_point end = Clock::now();
    const double shown = loaded ? std::chrono::duration<double>(end - *loaded).count() - fadeSeconds : 0.0;
    return {shown, cpuOf(RUSAGE_SELF) + cpuOf(RUSAGE_CHILDREN)};
}

std::optional<Measure> measure(Way way, const std::filesystem::path& datas) {
    const std::filesystem::path scratch =
        std::filesystem::temp_directory_path() / ("kvor-capture-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(scratch);
    std::filesystem::create_directory_symlink(std::filesystem::absolute(datas), scratch / "datas");
    int report[2];
    if (pipe(report) != 0) return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        close(report[0]);
        std::filesystem::current_path(scratch);
        const Measure result = recordOnce(way, scratch);
        const ssize_t written = write(report[1], &result, sizeof result);
        _exit(written == sizeof result ? 0 : 1);
    }
    close(report[1]);
    Measure result;
    const bool received = child > 0 && read(report[0], &result, sizeof result) == sizeof result;
    close(report[0]);
    int status = 0;
    if (child > 0) waitpid(child, &status, 0);
    std::filesystem::remove_all(scratch);
    if (!received) return std::nullopt;
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    const bool drawOnly = argc > 1 && std::string_view(argv[1]) == "--draw-only";
    const int dataArgument = drawOnly ? 2 : 1;
    const std::filesystem::path datas = argc > dataArgument ? argv[dataArgument] : KVOR_DEMO_DATAS;
    const uint32_t frames = capture::showFrames(datas);
    if (frames == 0) {
        std::fprintf(stderr, "capture_bench: no show in %s (run make-datas first)\n", datas.c_str());
        return 1;
    }
    const double realTime = frames / 60.0;
    std::printf("show: %u frames, %.1f s at 60 frames per second\n", frames, realTime);
    std::printf("%-10s %9s %8s %12s %14s\n", "way", "seconds", "fps", "x real time", "CPU ms/frame");
    std::optional<Measure> measures[4];
    const int ways = drawOnly ? 1 : 4;
    for (int way = 0; way < ways; ++way) {
        measures[way] = measure(static_cast<Way>(way), datas);
        if (!measures[way]) {
            std::printf("%-10s failed\n", wayNames[way]);
            continue;
        }
        const Measure& m = *measures[way];
        std::printf("%-10s %9.1f %8.1f %12.2f %14.2f\n", wayNames[way], m.seconds, frames / m.seconds,
                    realTime / m.seconds, 1000.0 * m.cpuSeconds / frames);
    }
    if (drawOnly) return measures[0] ? 0 : 1;
    if (!measures[0] || !measures[1] || !measures[3]) return 1;
    const auto perFrame = [&](const Measure& m) { return 1000.0 * m.seconds / frames; };
    std::printf(
        "where a video frame's time goes (wall ms per frame): drawing %.2f, reading back %.2f, "
        "converting and encoding %.2f\n",
        perFrame(*measures[0]), perFrame(*measures[1]) - perFrame(*measures[0]),
        perFrame(*measures[3]) - perFrame(*measures[1]));
    return 0;
}
