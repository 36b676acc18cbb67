// The whole show recorded four ways in one run: drawing only, drawing and
// reading back every frame, to PNG files, to video through ffmpeg, each as
// kvor-capture does it (read back while the next frame is drawn, written on a
// thread of its own). Each way runs in a child process of its own (the show
// runs once per process) and reports its wall time from the end of loading to
// the end of the show, less the three seconds of the closing fade, and its
// processor time with ffmpeg's. Then kvor-capture --video itself, timed from
// start to the finished file with its sound, with one job and with two.
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
#include "platform/player_link.h"
#include "platform/test_seams.h"
#include "platform/tool_interface.h"
#include "tools/capture/child_process.h"
#include "tools/capture/frame_worker.h"
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

capture::FrameWorker::Writer writerFor(Way way, const std::filesystem::path& scratch, capture::VideoEncoder& encoder) {
    if (way == Way::png)
        return [png = platform::pngFrameSink(scratch)](platform::CapturedFrame frame) {
            png(std::move(frame));
            return true;
        };
    if (way == Way::video)
        return [&encoder](const platform::CapturedFrame& frame) {
            return encoder.addFrame(frame.width, frame.height, frame.rgb);
        };
    return [](const platform::CapturedFrame&) { return true; };
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
    capture::FrameWorker worker(writerFor(way, scratch, encoder));
    if (way != Way::draw)
        platform::setFrameCapture({.frames = [&](platform::CapturedFrame frame) { worker.add(std::move(frame)); },
                                   .wanted = {},
                                   .flipped = {},
                                   .overlapped = true});
    startProgram(reinterpret_cast<HINSTANCE>(const_cast<char*>(&moduleBase)));
    runDemo();
    endProgram();
    worker.finish();
    encoder.finish();
    const Clock::time_point end = Clock::now();
    const double shown = loaded ? std::chrono::duration<double>(end - *loaded).count() - fadeSeconds : 0.0;
    return {shown, cpuOf(RUSAGE_SELF) + cpuOf(RUSAGE_CHILDREN)};
}

// A scratch directory with the show's data, removed with everything in it.
struct Scratch {
    std::filesystem::path path;
    explicit Scratch(const std::filesystem::path& datas)
        : path(std::filesystem::temp_directory_path() / ("kvor-capture-bench-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(path);
        std::filesystem::create_directory_symlink(std::filesystem::absolute(datas), path / "datas");
    }
    ~Scratch() { std::filesystem::remove_all(path); }
};

std::optional<Measure> measure(Way way, const std::filesystem::path& datas) {
    const Scratch scratch(datas);
    int report[2];
    if (pipe(report) != 0) return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        close(report[0]);
        std::filesystem::current_path(scratch.path);
        const Measure result = recordOnce(way, scratch.path);
        const ssize_t written = write(report[1], &result, sizeof result);
        _exit(written == sizeof result ? 0 : 1);
    }
    close(report[1]);
    Measure result;
    const bool received = child > 0 && read(report[0], &result, sizeof result) == sizeof result;
    close(report[0]);
    int status = 0;
    if (child > 0) waitpid(child, &status, 0);
    if (!received) return std::nullopt;
    return result;
}

// kvor-capture --video with jobs, start to finished file; its wall seconds.
std::optional<double> captureCommand(const std::filesystem::path& datas, unsigned jobs) {
    const Scratch scratch(datas);
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(scratch.path);
    const Clock::time_point start = Clock::now();
    const int status = capture::runProgram(
        {KVOR_CAPTURE, "--video", (scratch.path / "show.mp4").string(), "--jobs", std::to_string(jobs)});
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::filesystem::current_path(here);
    if (status != 0) return std::nullopt;
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    const bool drawOnly = argc > 1 && std::string_view(argv[1]) == "--draw-only";
    const int dataArgument = drawOnly ? 2 : 1;
    const std::filesystem::path datas =
        std::filesystem::absolute(argc > dataArgument ? argv[dataArgument] : KVOR_DEMO_DATAS);
    const uint32_t frames = capture::showFrames(datas);
    if (frames == 0) {
        std::fprintf(stderr, "capture_bench: no show in %s (run make-datas first)\n", datas.c_str());
        return 1;
    }
    const double realTime = frames / 60.0;
    std::printf("show: %u frames, %.1f s at 60 frames per second\n", frames, realTime);
    std::printf("%-10s %9s %8s %12s %12s %14s\n", "way", "seconds", "fps", "x real time", "x draw only",
                "CPU ms/frame");
    std::optional<Measure> measures[4];
    const int ways = drawOnly ? 1 : 4;
    for (int way = 0; way < ways; ++way) {
        measures[way] = measure(static_cast<Way>(way), datas);
        if (!measures[way]) {
            std::printf("%-10s failed\n", wayNames[way]);
            continue;
        }
        const Measure& m = *measures[way];
        const double ofDrawOnly = measures[0] ? measures[0]->seconds / m.seconds : 0.0;
        std::printf("%-10s %9.1f %8.1f %12.2f %12.2f %14.2f\n", wayNames[way], m.seconds, frames / m.seconds,
                    realTime / m.seconds, ofDrawOnly, 1000.0 * m.cpuSeconds / frames);
    }
    if (drawOnly) return measures[0] ? 0 : 1;
    // The video holds its last frame three seconds more for the fade.
    const double videoSeconds = realTime + fadeSeconds;
    std::printf("kvor-capture --video, start to finished file with its sound (a %.1f s video):\n", videoSeconds);
    std::optional<double> commands[2];
    for (unsigned jobs : {1u, 2u}) {
        commands[jobs - 1] = captureCommand(datas, jobs);
        if (!commands[jobs - 1]) {
            std::printf("  --jobs %u failed\n", jobs);
            continue;
        }
        std::printf("  --jobs %u %9.1f s %8.2f x real time\n", jobs, *commands[jobs - 1],
                    videoSeconds / *commands[jobs - 1]);
    }
    if (commands[0] && commands[1])
        std::printf("  two jobs take %.2f of one job's time\n", *commands[1] / *commands[0]);
    return measures[0] && measures[1] && measures[2] && measures[3] && commands[0] && commands[1] ? 0 : 1;
}
