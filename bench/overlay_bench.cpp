// The title overlays: the time to prepare the nine of them (tables and
// effects, all the trigonometry of the show) for a salle scene of 1,000
// frames, the bytes their corner tables take, and one frame's three overlay
// draws on the null driver, with the allocations they make.
//     overlay_bench [REPETITIONS]
// Times are medians of the repetitions, in processor time of this thread. The
// null driver records every call it is given, which allocates; the same calls
// made straight to the device give the baseline that a draw's count is
// compared with.

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "base/display_request.h"
#include "base/log.h"
#include "base/process_state.h"
#include "bench/null_display.h"
#include "bench/thread_clock.h"
#include "overlay/overlay.h"
#include "overlay/overlay_effects.h"
#include "platform/tool_interface.h"
#include "render/renderer.h"

namespace {

std::atomic<uint64_t> allocations{0};

}  // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace {

constexpr int32_t salleFrames = 1000;

struct Plan {
    int32_t startFrame;
    int32_t duration;
    void (*effect)(Overlay&);
};

// The demo's nine, overlay 6 ending 5 frames before the salle scene's last.
const Plan plans[] = {
    {50, 350, fadePanel},    {500, 300, fadeSkewed},       {801, 499, fadeSkewed},
    {50, 250, fadePanel},    {500, 150, fadeSkewed},       {700, salleFrames - 705, fadeInBottom},
    {40, 210, pulseTopLeft}, {400, 300, pulseBottomRight}, {720, 280, swingVertical},
};

std::vector<std::unique_ptr<Overlay>> prepareNine() {
    std::vector<std::unique_ptr<Overlay>> overlays;
    for (const Plan& plan : plans) {
        auto overlay = std::make_unique<Overlay>();
        overlay->duration = plan.duration;
        overlay->startFrame = plan.startFrame;
        overlay->endFrame = plan.startFrame + plan.duration;
        overlay->allocateCornerTables();
        overlay->defaultPath();
        plan.effect(*overlay);
        overlays.push_back(std::move(overlay));
    }
    return overlays;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The device calls of one overlay draw, made directly.
void sameCallsAsADraw(Overlay& overlay) {
    device->SetTexture(0, overlay.texture);
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, overlay.vertices.data(), 4,
                                 overlay.indices.data(), 6, 0);
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CW);
}

template <typename Work>
uint64_t allocationsOf(Work work) {
    platform::clearNullDriverCalls();
    const uint64_t before = allocations.load();
    work();
    return allocations.load() - before;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    logOpen("/dev/null", nullptr);

    std::vector<double> prepareMs;
    size_t tableBytes = 0;
    for (int n = 0; n < repetitions; ++n) {
        const uint64_t start = bench::threadNanoseconds();
        const auto overlays = prepareNine();
        prepareMs.push_back(static_cast<double>(bench::threadNanoseconds() - start) / 1e6);
        tableBytes = 0;
        for (const auto& overlay : overlays)
            for (const CornerTable& table : overlay->corners) tableBytes += table.size() * sizeof(CornerEntry);
    }
    size_t framesOfLife = 0;
    for (const Plan& plan : plans) framesOfLife += static_cast<size_t>(std::max(plan.duration, 0));
    std::printf("prepare the nine overlays (salle of %d frames): %.3f ms (median of %d; target under 5 ms)\n",
                salleFrames, median(prepareMs), repetitions);
    std::printf("corner tables: %zu bytes for %zu frames of life (%.1f bytes a frame)\n", tableBytes, framesOfLife,
                static_cast<double>(tableBytes) / static_cast<double>(framesOfLife));

    Renderer renderer;
    bench::setUpNullDisplay(renderer);
    auto overlays = prepareNine();
    // The lives of a part's three overlays do not overlap: on frame 350 of
    // part one overlay 1 is drawn and 2 and 3 find themselves out of life.
    Overlay* partOne[] = {overlays[0].get(), overlays[1].get(), overlays[2].get()};
    const int32_t frame = 350;
    std::vector<double> drawNs;
    for (int n = 0; n < repetitions; ++n) {
        platform::clearNullDriverCalls();
        const uint64_t start = bench::threadNanoseconds();
        for (Overlay* overlay : partOne) overlay->draw(frame);
        drawNs.push_back(static_cast<double>(bench::threadNanoseconds() - start));
    }
    const uint64_t drawAllocations = allocationsOf([&] {
        for (Overlay* overlay : partOne) overlay->draw(frame);
    });
    const uint64_t baseline = allocationsOf([&] { sameCallsAsADraw(*partOne[0]); });
    std::printf("one frame's three overlay draws on the null driver: %.0f ns (median of %d)\n", median(drawNs),
                repetitions);
    std::printf(
        "allocations: %llu during the draws, %llu for the same device calls made directly "
        "(the null driver's record); the draws' own: %lld\n",
        static_cast<unsigned long long>(drawAllocations), static_cast<unsigned long long>(baseline),
        static_cast<long long>(drawAllocations) - static_cast<long long>(baseline));
    releaseDemoDisplay();
    return 0;
}
