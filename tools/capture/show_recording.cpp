#include "tools/capture/show_recording.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>

#include "app/demo_driver.h"
#include "app/program_lifetime.h"
#include "base/fatal.h"
#include "base/process_state.h"
#include "platform/hooks.h"
#include "tools/capture/frame_worker.h"
#include "tools/capture/job_split.h"
#include "tools/capture/progress_meter.h"
#include "tools/capture/show_clock.h"
#include "tools/capture/show_length.h"
#include "tools/capture/soundtrack_player.h"
#include "tools/capture/video_encoder.h"

namespace capture {

namespace {

constexpr int fadeFrames = 3 * framesPerSecond;
constexpr WPARAM escapeKey = 27;

// Any stable, non-null address stands for the module, as for the program.
const char moduleBase = 0;

// A folder of files made on the way, removed with everything in it when done.
struct WorkFolder {
    std::filesystem::path path;
    explicit WorkFolder(std::filesystem::path where) : path(std::move(where)) {
        std::filesystem::create_directories(path);
    }
    ~WorkFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
};

void runShow() {
    startProgram(reinterpret_cast<HINSTANCE>(const_cast<char*>(&moduleBase)));
    runDemo();
    endProgram();
}

std::string duration(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%04.1f", static_cast<int>(seconds) / 60,
                  seconds - 60 * (static_cast<int>(seconds) / 60));
    return text;
}

// One run of the show keeping the frames of range: once its last frame is
// asked for, the show is told to end as a user ends it, by Escape in its
// window, unless that frame is the show's own last.
struct ShowRun {
    FrameRange range;
    uint32_t showFrames;  // 0: unknown

    bool reachesEnd() const { return showFrames == 0 || range.last >= showFrames - 1; }
    // The frames the show goes through: up to the range's last; 0 when unknown.
    uint32_t framesShown() const { return showFrames == 0 ? 0 : std::min(range.last, showFrames - 1) + 1; }
    uint32_t framesKept() const { return framesShown() > range.first ? framesShown() - range.first : 0; }
    platform::FrameChoice choice() const {
        return [run = *this](uint32_t index) {
            if (index == run.range.last && !run.reachesEnd()) PostMessageA(mainWindow, WM_CHAR, escapeKey, 0);
            return run.range.contains(index);
        };
    }
};

// The run's frames read back while the next is drawn and handed to worker;
// flipped runs on the show's thread after every frame, kept or not.
platform::CaptureSink keptFrames(FrameWorker& worker, const ShowRun& run, std::function<void()> flipped) {
    return {.frames = [&worker](const platform::CapturedFrame& frame) { worker.add(frame); },
            .wanted = run.choice(),
            .flipped = [flipped = std::move(flipped)](uint32_t) { flipped(); },
            .overlapped = true};
}

// Each file is named by the frame's place in the show; frames left out are
// not even drawn. Returns the frames written.
uint32_t recordPng(const std::filesystem::path& directory, const ShowRun& run, ProgressMeter& meter) {
    std::filesystem::path unwritten;
    const platform::FrameSink png =
        platform::pngFrameSink(directory, [&](const std::filesystem::path& path) { unwritten = path; });
    uint32_t written = 0;
    FrameWorker worker([&](const platform::CapturedFrame& frame) {
        png(frame);
        ++written;
        return unwritten.empty();
    });
    // Reported from the show's thread, between frames.
    const auto cannotWrite = [&] { fatalMessage(("kvor-capture cannot write " + unwritten.string()).c_str()); };
    platform::setFrameCapture(keptFrames(worker, run, [&] {
        meter.frameDone();
        if (worker.failed()) cannotWrite();
    }));
    runShow();
    if (!worker.finish()) cannotWrite();
    meter.finish();
    return written;
}

// The kept frames encoded into file; the fade's frames follow when the run
// reaches the show's end. Returns the frames encoded.
uint32_t recordVideoFrames(const std::filesystem::path& file, const ShowRun& run, ProgressMeter& meter,
                           CommandRecorder& recorder, ShowClock& clock) {
    VideoEncoder encoder(file);
    platform::CapturedFrame last{};
    uint32_t written = 0;
    FrameWorker worker([&](const platform::CapturedFrame& frame) {
        ++written;
        last = frame;
        return encoder.addFrame(frame.width, frame.height, frame.rgb);
    });
    platform::setFrameCapture(keptFrames(worker, run, [&] {
        clock.framePresented();
        meter.frameDone();
        if (worker.failed()) fatalMessage("ffmpeg stopped taking frames");
    }));
    platform::setPlayerFinder([&] { return recorder.link(); });
    runShow();
    if (!worker.finish()) fatalMessage("ffmpeg stopped taking frames");
    meter.finish();
    // The fade holds the last frame on screen for its three seconds.
    for (int k = 0; k < fadeFrames && written > 0 && run.reachesEnd(); ++k, ++written)
        if (!encoder.addFrame(last.width, last.height, last.rgb)) fatalMessage("ffmpeg stopped taking frames");
    if (!encoder.finish()) fatalMessage("ffmpeg could not encode the video");
    return written;
}

// The soundtrack the show's player commands make of the video's span, from
// frame first on; nothing when the data has no soundtrack.
std::optional<std::filesystem::path> writeSoundtrack(const std::filesystem::path& soundtrackFile,
                                                     const std::vector<TimedCommand>& commands, uint32_t first,
                                                     double seconds, const std::filesystem::path& wave) {
    const std::optional<PcmSound> soundtrack = readWave(soundtrackFile);
    if (!soundtrack) {
        if (std::filesystem::exists(soundtrackFile))
            std::fprintf(stderr, "kvor-capture: %s is not a 16-bit PCM WAVE file; the video has no sound\n",
                         soundtrackFile.c_str());
        return std::nullopt;
    }
    const double start = static_cast<double>(first) / framesPerSecond;
    PcmSound sound = renderPlayback(*soundtrack, commands, start + seconds);
    const auto skipped =
        static_cast<size_t>(std::llround(start * sound.sampleRate)) * static_cast<size_t>(sound.channels);
    sound.samples.erase(sound.samples.begin(),
                        sound.samples.begin() + static_cast<std::ptrdiff_t>(std::min(skipped, sound.samples.size())));
    const std::vector<uint8_t> bytes = waveBytes(sound);
    std::FILE* file = std::fopen(wave.c_str(), "wb");
    const bool written = file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if ((file != nullptr && std::fclose(file) != 0) || !written)
        fatalMessage("kvor-capture cannot write the soundtrack");
    return wave;
}

void finishVideo(const std::vector<std::filesystem::path>& parts, const WorkFolder& work,
                 const std::vector<TimedCommand>& commands, uint32_t first, uint32_t frames,
                 const std::filesystem::path& output) {
    const double seconds = static_cast<double>(frames) / framesPerSecond;
    const std::optional<std::filesystem::path> sound = writeSoundtrack(
        std::filesystem::absolute("datas/kvor-theme.wav"), commands, first, seconds, work.path / "sound.wav");
    if (!muxVideo(parts, work.path / "parts.txt", sound, output)) fatalMessage("ffmpeg could not write the video file");
    std::fprintf(stderr, "kvor-capture: %s, %u frames (%s)%s\n", output.c_str(), frames, duration(seconds).c_str(),
                 sound ? " with its soundtrack" : ", no soundtrack");
}

std::filesystem::path workPlace(const CaptureOptions& options) {
    const std::string pid = std::to_string(getpid());
    if (options.videoFile) return options.videoFile->string() + ".part-" + pid;
    return *options.pngDirectory / (".jobs-" + pid);
}

// One process's share: the frames of run, to PNG files or to the video part
// file. Returns the frames written; commands gets the player's commands.
uint32_t recordRun(const CaptureOptions& options, const ShowRun& run, const std::filesystem::path& videoPart,
                   ProgressMeter& meter, std::vector<TimedCommand>& commands) {
    if (options.pngDirectory) {
        // No player of the session may receive the show's commands.
        platform::setPlayerFinder([] { return std::unique_ptr<platform::PlayerLink>(); });
        return recordPng(*options.pngDirectory, run, meter);
    }
    ShowClock clock;
    CommandRecorder recorder(clock);
    const uint32_t frames = recordVideoFrames(videoPart, run, meter, recorder, clock);
    commands = recorder.commands();
    return frames;
}

int recordAlone(const CaptureOptions& options, const ShowRun& run, bool terminal) {
    ProgressMeter meter(run.framesShown(), terminal);
    std::optional<WorkFolder> work;
    if (options.videoFile) work.emplace(workPlace(options));
    std::vector<TimedCommand> commands;
    const std::filesystem::path part = work ? work->path / "video.mkv" : std::filesystem::path();
    const uint32_t frames = recordRun(options, run, part, meter, commands);
    if (options.videoFile) {
        finishVideo({part}, *work, commands, run.range.first, frames, *options.videoFile);
    } else {
        std::fprintf(stderr, "kvor-capture: %u frames in %s\n", frames, options.pngDirectory->c_str());
    }
    return 0;
}

// What a job tells the capture once its share is recorded.
struct JobReport {
    uint32_t frames = 0;
    std::vector<TimedCommand> commands;
};

bool writeAll(int file, const void* data, size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(file, bytes, size);
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

bool readAll(int file, void* data, size_t size) {
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = read(file, bytes, size);
        if (got <= 0) return false;
        bytes += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}

// In the job's process: the share recorded in a folder of its own (its log
// there), then the report; the process ends here, its show ended normally.
[[noreturn]] void runJob(const CaptureOptions& options, const ShowRun& run, const std::filesystem::path& folder,
                         const std::filesystem::path& videoPart, int report) {
    std::filesystem::create_directories(folder);
    std::filesystem::create_directory_symlink(std::filesystem::absolute("datas"), folder / "datas");
    std::filesystem::current_path(folder);
    // One rasteriser thread each: the jobs themselves keep the processors busy.
    setenv("LP_NUM_THREADS", "1", 0);
    ProgressMeter meter(run.framesShown(), false);
    JobReport result;
    result.frames = recordRun(options, run, videoPart, meter, result.commands);
    const auto count = static_cast<uint32_t>(result.commands.size());
    const bool sent = writeAll(report, &result.frames, sizeof result.frames) &&
                      writeAll(report, &count, sizeof count) &&
                      writeAll(report, result.commands.data(), count * sizeof(TimedCommand));
    std::fflush(nullptr);
    _exit(sent ? 0 : 1);
}

std::optional<JobReport> readReport(int report) {
    JobReport result;
    uint32_t count = 0;
    if (!readAll(report, &result.frames, sizeof result.frames) || !readAll(report, &count, sizeof count))
        return std::nullopt;
    result.commands.resize(count);
    if (!readAll(report, result.commands.data(), count * sizeof(TimedCommand))) return std::nullopt;
    return result;
}

// The frames shared among processes of their own, each drawing its run of
// consecutive frames; a video's parts are joined as they are, and its sound
// comes from the last job, which plays the show up to the kept frames' end.
int recordInJobs(const CaptureOptions& options, const ShowRun& whole, unsigned jobs) {
    WorkFolder work(workPlace(options));
    const std::vector<FrameRange> shares = splitFrames({whole.range.first, whole.framesShown() - 1}, jobs);
    std::fprintf(stderr, "kvor-capture: frames %u-%u in %zu jobs\n", shares.front().first, shares.back().last,
                 shares.size());
    struct Job {
        pid_t process;
        int report;
    };
    std::vector<Job> running;
    std::vector<std::filesystem::path> parts;
    std::fflush(nullptr);
    for (size_t k = 0; k < shares.size(); ++k) {
        parts.push_back(work.path / ("part-" + std::to_string(k) + ".mkv"));
        int report[2];
        if (pipe(report) != 0) fatalMessage("kvor-capture cannot start its jobs");
        const pid_t process = fork();
        if (process == 0) {
            close(report[0]);
            runJob(options, ShowRun{shares[k], whole.showFrames}, work.path / ("job-" + std::to_string(k)),
                   parts.back(), report[1]);
        }
        close(report[1]);
        if (process < 0) fatalMessage("kvor-capture cannot start its jobs");
        running.push_back({process, report[0]});
    }
    std::vector<JobReport> reports;
    int failed = 0;
    for (size_t k = 0; k < running.size(); ++k) {
        std::optional<JobReport> report = readReport(running[k].report);
        close(running[k].report);
        int status = 0;
        waitpid(running[k].process, &status, 0);
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 255;
        if (!report || code != 0) {
            std::fprintf(stderr, "kvor-capture: job %zu of %zu (frames %u-%u) stopped with status %d\n", k + 1,
                         running.size(), shares[k].first, shares[k].last, code);
            failed = failed != 0 ? failed : (code != 0 ? code : 255);
            continue;
        }
        reports.push_back(std::move(*report));
    }
    if (failed != 0) return failed;
    std::error_code ignored;
    std::filesystem::copy_file(work.path / ("job-" + std::to_string(shares.size() - 1)) / "kvorlog.txt", "kvorlog.txt",
                               std::filesystem::copy_options::overwrite_existing, ignored);
    uint32_t frames = 0;
    for (const JobReport& report : reports) frames += report.frames;
    if (options.videoFile)
        finishVideo(parts, work, reports.back().commands, whole.range.first, frames, *options.videoFile);
    else
        std::fprintf(stderr, "kvor-capture: %u frames in %s\n", frames, options.pngDirectory->c_str());
    return 0;
}

}  // namespace

int recordShow(const CaptureOptions& given, bool terminal) {
    // The show changes into datas/: every path given is taken from here.
    CaptureOptions options = given;
    if (options.pngDirectory) options.pngDirectory = std::filesystem::absolute(*options.pngDirectory);
    if (options.videoFile) options.videoFile = std::filesystem::absolute(*options.videoFile);
    platform::setPrimaryDriver(platform::DriverKind::capture);
    platform::setCaptureFrame(options.enhanced);
    const uint32_t showFrames = capture::showFrames("datas");
    const FrameRange everyFrame{0, showFrames > 0 ? showFrames - 1 : UINT32_MAX};
    const ShowRun whole{options.frames.value_or(everyFrame), showFrames};
    const unsigned jobs = std::min(options.jobs.value_or(std::max(1u, std::thread::hardware_concurrency())),
                                   std::max(1u, whole.framesKept()));
    if (jobs == 1) return recordAlone(options, whole, terminal);
    return recordInJobs(options, whole, jobs);
}

}  // namespace capture
