#include "tools/capture/show_recording.h"

#include <unistd.h>

#include <cstdio>
#include <optional>

#include "app/demo_driver.h"
#include "app/program_lifetime.h"
#include "base/fatal.h"
#include "platform/hooks.h"
#include "tools/capture/progress_meter.h"
#include "tools/capture/show_clock.h"
#include "tools/capture/show_length.h"
#include "tools/capture/soundtrack_player.h"
#include "tools/capture/video_encoder.h"

namespace capture {

namespace {

constexpr int fadeFrames = 3 * framesPerSecond;

// Any stable, non-null address stands for the module, as for the program.
const char moduleBase = 0;

// Files made on the way to the video, beside it, removed when it is done.
struct WorkFiles {
    std::filesystem::path video, sound;
    explicit WorkFiles(const std::filesystem::path& output) {
        const std::string stem = output.string() + ".part-" + std::to_string(getpid());
        video = stem + ".mkv";
        sound = stem + ".wav";
    }
    ~WorkFiles() {
        std::error_code ignored;
        std::filesystem::remove(video, ignored);
        std::filesystem::remove(sound, ignored);
    }
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

// Each file is named by the frame's place in the show; frames left out are
// not even read back.
int recordPng(const std::filesystem::path& directory, std::optional<FrameRange> frames, ProgressMeter& meter) {
    const platform::FrameSink png = platform::pngFrameSink(directory, [](const std::filesystem::path& path) {
        fatalMessage(("kvor-capture cannot write " + path.string()).c_str());
    });
    uint32_t written = 0;
    platform::setCaptureSink(
        [&](const platform::CapturedFrame& frame) {
            png(frame);
            ++written;
        },
        [&](uint32_t index) {
            meter.frameDone();
            return !frames || frames->contains(index);
        });
    runShow();
    meter.finish();
    std::fprintf(stderr, "kvor-capture: %u frames in %s\n", written, directory.c_str());
    return 0;
}

int recordVideo(const std::filesystem::path& output, const std::filesystem::path& soundtrackFile,
                ProgressMeter& meter) {
    ShowClock clock;
    CommandRecorder recorder(clock);
    WorkFiles work(output);
    VideoEncoder encoder(work.video);
    platform::CapturedFrame last{};
    platform::setCaptureSink([&](const platform::CapturedFrame& frame) {
        clock.framePresented();
        if (!encoder.addFrame(frame.width, frame.height, frame.rgb)) fatalMessage("ffmpeg stopped taking frames");
        last = frame;
        meter.frameDone();
    });
    platform::setPlayerFinder([&] { return recorder.link(); });
    runShow();
    meter.finish();
    // The fade holds the last frame on screen for its three seconds.
    for (int k = 0; k < fadeFrames && clock.framesPresented() > 0; ++k)
        if (!encoder.addFrame(last.width, last.height, last.rgb)) fatalMessage("ffmpeg stopped taking frames");
    if (!encoder.finish()) fatalMessage("ffmpeg could not encode the video");
    const double seconds = static_cast<double>(clock.framesPresented() + fadeFrames) / framesPerSecond;
    std::optional<std::filesystem::path> sound;
    if (const auto soundtrack = readWave(soundtrackFile)) {
        const std::vector<uint8_t> bytes = waveBytes(renderPlayback(*soundtrack, recorder.commands(), seconds));
        std::FILE* file = std::fopen(work.sound.c_str(), "wb");
        const bool written = file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        if (file != nullptr && std::fclose(file) != 0) fatalMessage("kvor-capture cannot write the soundtrack");
        if (!written) fatalMessage("kvor-capture cannot write the soundtrack");
        sound = work.sound;
    } else if (std::filesystem::exists(soundtrackFile)) {
        std::fprintf(stderr, "kvor-capture: %s is not a 16-bit PCM WAVE file; the video has no sound\n",
                     soundtrackFile.c_str());
    }
    if (!muxVideo(work.video, sound, output)) fatalMessage("ffmpeg could not write the video file");
    std::fprintf(stderr, "kvor-capture: %s, %u frames (%s)%s\n", output.c_str(), clock.framesPresented() + fadeFrames,
                 duration(seconds).c_str(), sound ? " with its soundtrack" : ", no soundtrack");
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
    ProgressMeter meter(showFrames("datas"), terminal);
    if (options.pngDirectory) {
        // No player of the session may receive the show's commands.
        platform::setPlayerFinder([] { return std::unique_ptr<platform::PlayerLink>(); });
        return recordPng(*options.pngDirectory, options.frames, meter);
    }
    return recordVideo(*options.videoFile, std::filesystem::absolute("datas/kvor-theme.wav"), meter);
}

}  // namespace capture
