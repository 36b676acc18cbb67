// Draws a frame like the demo's on the capture driver through our Direct3D 7
// layer and with direct OpenGL, in alternating rounds of the same run, and
// prints both rates, their ratio and the CPU time per draw call.
//
//     build/bench/display_bench [frames per round] [PNG directory]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/log.h"
#include "bench/direct_gl_frame.h"
#include "bench/layer_frame.h"
#include "bench/synthetic_frame.h"
#include "platform/tool_interface.h"

namespace {

constexpr int rounds = 3;

struct Tally {
    double seconds = 0;
    int frames = 0;
    double rate() const { return frames / seconds; }
};

template <typename Frame>
void runRound(Frame& frame, int frames, Tally& tally) {
    auto start = std::chrono::steady_clock::now();
    for (int index = 0; index < frames; ++index) frame.draw();
    tally.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    tally.frames += frames;
}

double microsecondsPerCall(uint64_t nanoseconds, int frames, size_t callsPerFrame) {
    return nanoseconds / 1000.0 / (double(frames) * callsPerFrame);
}

// One frame of each way of drawing, to look at.
void savePictures(const std::string& directory, bench::LayerFrame& layer, bench::DirectGlFrame& direct) {
    platform::setCaptureSink(platform::pngFrameSink(directory + "/layer"));
    layer.draw();
    platform::setCaptureSink({});
    direct.draw();
    platform::pngFrameSink(directory + "/direct")(platform::CapturedFrame{0, 640, 480, direct.read()});
    std::printf("frames written to %s/layer and %s/direct\n", directory.c_str(), directory.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    int frames = argc > 1 ? std::atoi(argv[1]) : 300;
    // The scene it sets up would otherwise open "logFile.txt" where it runs.
    logOpen("/dev/null", nullptr);
    bench::SyntheticFrame scene = bench::makeSyntheticFrame();
    std::unique_ptr<bench::DirectGlFrame> direct = bench::DirectGlFrame::create(scene);
    if (direct == nullptr || frames <= 0) {
        std::fprintf(stderr, "no off-screen OpenGL context here, or no frames asked for\n");
        return 1;
    }
    platform::setCaptureSink({});
    bench::LayerFrame layer(scene);
    if (argc > 2) savePictures(argv[2], layer, *direct);
    for (int warmUp = 0; warmUp < 20; ++warmUp) layer.draw(), direct->draw();
    layer.drawNanoseconds = direct->drawNanoseconds = 0;
    Tally layerTally, directTally;
    for (int round = 0; round < rounds; ++round) {
        runRound(layer, frames, layerTally);
        runRound(*direct, frames, directTally);
    }
    std::printf("synthetic frame: %zu textured triangles, %zu draw calls, linear fog, 640x480 RGB565\n",
                scene.triangles(), scene.drawCalls());
    std::printf("rounds: %d x %d frames each way, alternating\n", rounds, frames);
    std::printf("layer (Direct3D 7 on OpenGL): %8.1f frames/s\n", layerTally.rate());
    std::printf("direct OpenGL:                %8.1f frames/s\n", directTally.rate());
    std::printf("ratio layer / direct:         %8.3f (target >= 0.9)\n", layerTally.rate() / directTally.rate());
    std::printf("CPU per draw call, layer:     %8.1f us (its state changes included)\n",
                microsecondsPerCall(layer.drawNanoseconds, layerTally.frames, scene.drawCalls()));
    std::printf("CPU per draw call, direct GL: %8.1f us\n",
                microsecondsPerCall(direct->drawNanoseconds, directTally.frames, scene.drawCalls()));
    return 0;
}
