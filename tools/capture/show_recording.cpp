#include "tools/capture/show_recording.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>
#include <utility>

#include "app/demo_driver.h"
#include "app/scene_alone.h"
#include "app/program_lifetime.h"
#include "base/fatal.h"
#include "base/process_state.h"
#include "platform/tool_interface.h"
#include "tools/capture/capture_jobs.h"
#include "tools/capture/frame_worker.h"
#include "tools/capture/progress_meter.h"
#include "tools/capture/show_clock.h"
#include "tools/capture/show_length.h"
#include "tools/capture/show_run.h"
#include "tools/capture/soundtrack_player.h"
#include "tools/capture/video_encoder.h"

namespace capture {

namespace {

constexpr WPARAM escapeKey = 27;

// Any stable, non-null address stands for the module, as for the program.
const char moduleBase = 0;

// The show, or the scene alone when one is given, its closing fade timed by
// clock. The show changes into datas/; the capture's own files are found from
// where it started.
void runShow(const CaptureOptions& options, ShowClock& clock) {
    const std::filesystem::path started = std::filesystem::current_path();
    startProgram(reinterpret_cast<HINSTANCE>(const_cast<char*>(&moduleBase)));
    if (options.scene)
        runSceneAlone(options.scene->c_str());
    else
        runDemo([&clock] { return clock.fadeReading(); });
    endProgram();
    std::filesystem::current_path(started);
}

std::string duration(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%04.1f", static_cast<int>(seconds) / 60,
                  seconds - 60 * (static_cast<int>(seconds) / 60));
    return text;
}

// The run's frames read back while the next is drawn and handed to worker;
// flipped runs on the show's thread after every frame, kept or not.
platform::CaptureSink keptFrames(FrameWorker& worker, const ShowRun& run, std::function<void()> flipped) {
    return {.frames = [&worker](platform::CapturedFrame frame) { worker.add(std::move(frame)); },
            .wanted = run.choice(),
            .flipped = [flipped = std::move(flipped)](uint32_t) { flipped(); },
            .overlapped = true};
}

// Each file is named by the frame's place in the show; frames left out are
// not even drawn. Returns the frames written.
uint32_t recordPng(const CaptureOptions& options, const ShowRun& run, ProgressMeter& meter) {
    const std::filesystem::path& directory = *options.pngDirectory;
    std::filesystem::path unwritten;
    const platform::FrameSink png =
        platform::pngFrameSink(directory, [&](const std::filesystem::path& path) { unwritten = path; });
    uint32_t written = 0;
    FrameWorker worker([&](platform::CapturedFrame frame) {
        png(std::move(frame));
        ++written;
        return unwritten.empty();
    });
    // Reported from the show's thread, between frames.
    const auto cannotWrite = [&] { fatalMessage(("kvor-capture cannot write " + unwritten.string()).c_str()); };
    ShowClock clock;
    platform::setFrameCapture(keptFrames(worker, run, [&] {
        clock.framePresented();
        meter.frameDone();
        if (worker.failed()) cannotWrite();
    }));
    runShow(options, clock);
    if (!worker.finish()) cannotWrite();
    meter.finish();
    return written;
}

// The kept frames encoded into file; the fade's frames follow when the run
// reaches the show's end (a scene alone has no fade). Returns the frames encoded.
uint32_t recordVideoFrames(const CaptureOptions& options, const std::filesystem::path& file, const ShowRun& run,
                           ProgressMeter& meter, CommandRecorder& recorder, ShowClock& clock) {
    VideoEncoder encoder(file);
    platform::CapturedFrame last{};
    uint32_t written = 0;
    FrameWorker worker([&](platform::CapturedFrame frame) {
        ++written;
        const bool added = encoder.addFrame(frame.width, frame.height, frame.rgb);
        last = std::move(frame);
        return added;
    });
    platform::setFrameCapture(keptFrames(worker, run, [&] {
        clock.framePresented();
        meter.frameDone();
        if (worker.failed()) fatalMessage("ffmpeg stopped taking frames");
    }));
    platform::setPlayerFinder([&] { return recorder.link(); });
    runShow(options, clock);
    if (!worker.finish()) fatalMessage("ffmpeg stopped taking frames");
    meter.finish();
    // The fade holds the last frame on screen for its three seconds.
    const bool fades = run.reachesEnd() && !options.scene;
    for (uint32_t k = 0; k < fadeFrames && written > 0 && fades; ++k, ++written)
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

int recordAlone(const CaptureOptions& options, const ShowRun& run, bool terminal) {
    ProgressMeter meter(run.framesShown(), terminal);
    std::optional<WorkFolder> work;
    if (options.videoFile) work.emplace(workPlace(options));
    std::vector<TimedCommand> commands;
    const std::filesystem::path part = work ? work->path / "video.mkv" : std::filesystem::path();
    const uint32_t frames = recordRun(options, run, part, meter, commands);
    if (options.videoFile) {
        finishVideo({{part, frames}}, *work, run.record(options, frames, std::move(commands)), *options.videoFile);
    } else {
        std::fprintf(stderr, "kvor-capture: %u frames in %s\n", frames, options.pngDirectory->c_str());
    }
    return 0;
}

}  // namespace

platform::FrameChoice ShowRun::choice() const {
    return [run = *this](uint32_t index) {
        if (index == run.range.last && !run.reachesEnd()) PostMessageA(mainWindow, WM_CHAR, escapeKey, 0);
        return run.range.contains(index);
    };
}

std::filesystem::path workPlace(const CaptureOptions& options) {
    const std::string pid = std::to_string(getpid());
    if (options.videoFile) return options.videoFile->string() + ".part-" + pid;
    return *options.pngDirectory / (".jobs-" + pid);
}

PartRecord ShowRun::record(const CaptureOptions& options, uint32_t frames, std::vector<TimedCommand> commands) const {
    PartRecord made;
    made.range = {range.first, showFrames > 0 ? framesShown() - 1 : range.last};
    made.showFrames = showFrames;
    setPicture(made, options.enhanced);
    made.frames = frames;
    made.commands = std::move(commands);
    return made;
}

void finishVideo(const std::vector<VideoPiece>& parts, const WorkFolder& work, const PartRecord& record,
                 const std::filesystem::path& output) {
    const double seconds = static_cast<double>(record.frames) / framesPerSecond;
    // No command, no music: a scene alone is silent.
    const std::optional<std::filesystem::path> sound =
        record.commands.empty() ? std::nullopt
                                : writeSoundtrack(std::filesystem::absolute("datas/kvor-theme.wav"), record.commands,
                                                  record.range.first, seconds, work.path / "sound.wav");
    if (!muxVideo(parts, work.path / "parts.txt", sound, partTag(record), output))
        fatalMessage("ffmpeg could not write the video file");
    std::fprintf(stderr, "kvor-capture: %s, %u frames (%s)%s\n", output.c_str(), record.frames,
                 duration(seconds).c_str(), sound ? " with its soundtrack" : ", no soundtrack");
}

uint32_t recordRun(const CaptureOptions& options, const ShowRun& run, const std::filesystem::path& videoPart,
                   ProgressMeter& meter, std::vector<TimedCommand>& commands) {
    if (options.pngDirectory) {
        // No player of the session may receive the show's commands.
        platform::setPlayerFinder([] { return std::unique_ptr<platform::PlayerLink>(); });
        return recordPng(options, run, meter);
    }
    ShowClock clock;
    CommandRecorder recorder(clock);
    const uint32_t frames = recordVideoFrames(options, videoPart, run, meter, recorder, clock);
    commands = recorder.commands();
    return frames;
}

int recordShow(const CaptureOptions& given, bool terminal) {
    // The show changes into datas/: every path given is taken from here.
    CaptureOptions options = given;
    if (options.pngDirectory) options.pngDirectory = std::filesystem::absolute(*options.pngDirectory);
    if (options.videoFile) options.videoFile = std::filesystem::absolute(*options.videoFile);
    platform::setPrimaryDriver(platform::DriverKind::capture);
    platform::setCaptureFrame(options.enhanced);
    if (options.scene) options.scene = std::filesystem::absolute(*options.scene);
    const std::optional<uint32_t> sceneFrames = options.scene ? capture::sceneFrames(*options.scene) : std::nullopt;
    if (options.scene && !sceneFrames) return 2;
    const uint32_t showFrames = sceneFrames.value_or(capture::showFrames("datas"));
    const FrameRange everyFrame{0, showFrames > 0 ? showFrames - 1 : UINT32_MAX};
    const ShowRun whole{options.frames.value_or(everyFrame), showFrames};
    if (showFrames > 0 && whole.framesKept() == 0) {
        std::fprintf(stderr, "kvor-capture: the %s has %u frames, 0 to %u: none from %u on\n",
                     options.scene ? "scene" : "show", showFrames, showFrames - 1, whole.range.first);
        return 2;
    }
    const unsigned jobs = std::min(options.jobs.value_or(std::max(1u, std::thread::hardware_concurrency())),
                                   std::max(1u, whole.framesKept()));
    if (jobs == 1) return recordAlone(options, whole, terminal);
    return recordInJobs(options, whole, jobs);
}

}  // namespace capture
