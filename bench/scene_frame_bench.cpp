// Loads the benchmark scene on the null driver and plays its frames, printing
// the load time, the resident memory after loading, and the CPU time per frame
// of the transform alone, of drawSceneFrame on the null driver (which records
// every call, without the vertices a draw is given: the record is emptied after
// every frame, outside the clock) and of drawSceneFrame with no device to call.
//     scene_frame_bench [FRAMES]

#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "base/log.h"
#include "base/process_state.h"
#include "bench/arithmetic_peak.h"
#include "bench/bench_scene.h"
#include "bench/null_display.h"
#include "platform/tool_interface.h"
#include "render/camera_update.h"
#include "render/mesh_transform.h"
#include "render/renderer.h"
#include "render/scene_frame.h"
#include "scene/scene.h"
#include "tools/kvs/kvs_writer.h"

namespace {

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

double transformSeconds(Scene& scene, int frames) {
    const double start = processCpuSeconds();
    for (int frame = 0; frame < frames; ++frame) {
        const int32_t n = frame % scene.frameCount;
        updateCamera(*scene.activeCamera, n);
        for (Mesh* mesh : scene.meshes) transformMesh(*mesh, n, *scene.activeCamera);
    }
    return processCpuSeconds() - start;
}

double drawSeconds(Scene& scene, Renderer& renderer, int frames) {
    double seconds = 0;
    for (int frame = 0; frame < frames; ++frame) {
        renderer.beginScene();
        const double start = processCpuSeconds();
        drawSceneFrame(scene);
        seconds += processCpuSeconds() - start;
        renderer.endScene();
        platform::clearNullDriverCalls();
    }
    return seconds;
}

// Per vertex: a 3 x 3 matrix times a vector (9 multiplies, 6 adds) and the
// camera offset (3); a turning mesh adds its own rotation and pivot (21 more).
double flopsPerFrame(const Scene& scene) {
    double flops = 0;
    for (const Mesh* mesh : scene.meshes) flops += mesh->vertexCount * (mesh->rotationTrack.empty() ? 18.0 : 39.0);
    return flops;
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : bench::frameCount;
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "kvor-bench-scene.kvs";
    kvs::saveSceneFile(bench::benchmarkScene(), file);
    logOpen("/dev/null", nullptr);
    Renderer renderer;
    bench::setUpNullDisplay(renderer);
    renderer.setDefaultRenderStates();
    platform::clearNullDriverCalls();

    const long residentBefore = residentKilobytes();
    Scene scene(directDraw, device);
    const auto start = std::chrono::steady_clock::now();
    scene.load(file.c_str(), nullptr);
    const double loadSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long residentAfter = residentKilobytes();
    std::filesystem::remove(file);

    long vertices = 0;
    for (const Mesh* mesh : scene.meshes) vertices += mesh->vertexCount;
    platform::clearNullDriverCalls();
    const double perFrame = transformSeconds(scene, frames) / frames;
    const double drawPerFrame = drawSeconds(scene, renderer, frames) / frames;
    IDirect3DDevice7* nullDevice = std::exchange(device, nullptr);
    const double enginePerFrame = drawSeconds(scene, renderer, frames) / frames;
    device = nullDevice;
    const double verticesPerSecond = static_cast<double>(vertices) / perFrame;
    const double achievedFlops = flopsPerFrame(scene) / perFrame;

    std::printf("scene: %zu meshes, %ld vertices, %d frames\n", scene.meshes.size(), vertices, scene.frameCount);
    std::printf("load: %.1f ms\n", loadSeconds * 1e3);
    std::printf("resident memory after load: %.1f MiB (%.1f MiB for the scene)\n", residentAfter / 1024.0,
                (residentAfter - residentBefore) / 1024.0);
    std::printf("transform: %.3f ms CPU per frame over %d frames, %.1f million vertices per second\n", perFrame * 1e3,
                frames, verticesPerSecond / 1e6);
    std::printf("drawSceneFrame on the null driver: %.3f ms CPU per frame, %.1f million vertices per second\n",
                drawPerFrame * 1e3, static_cast<double>(vertices) / drawPerFrame / 1e6);
    std::printf("drawSceneFrame with no device calls: %.3f ms CPU per frame, %.1f million vertices per second\n",
                enginePerFrame * 1e3, static_cast<double>(vertices) / enginePerFrame / 1e6);
    std::printf("transform arithmetic: %.2f GFLOP/s\n", achievedFlops / 1e9);
    for (const bench::Peak& peak : bench::measuredPeaks())
        std::printf("  peak of one core, %s: %.2f GFLOP/s (the transform reaches %.0f%%)\n", peak.instructions.c_str(),
                    peak.flops / 1e9, 100.0 * achievedFlops / peak.flops);
    return 0;
}
