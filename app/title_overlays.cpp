#include "app/title_overlays.h"

#include <algorithm>
#include <cstdint>

#include "overlay/overlay_effects.h"

namespace {

struct TitlePlan {
    const char* image;
    int32_t startFrame;
    int32_t duration;
    void (*effect)(Overlay&);
};

// Overlay 6's duration stands in for S - 705 and is computed from the scene.
constexpr int32_t overlaySix = 5;
constexpr int32_t overlaySixStart = 700;
constexpr int32_t overlaySixEndBeforeLast = 5;

constexpr std::array<TitlePlan, 9> titlePlans{{
    {"vrn et qim.jpg", 50, 350, fadePanel},
    {"presentent.jpg", 500, 300, fadeSkewed},
    {"nomDemo.jpg", 801, 499, fadeSkewed},
    {"complet.jpg", 50, 250, fadePanel},
    {"mireli.jpg", 500, 150, fadeSkewed},
    {"pfo 2k.jpg", overlaySixStart, 0, fadeInBottom},
    {"accelerate.jpg", 40, 210, pulseTopLeft},
    {"fly.jpg", 400, 300, pulseBottomRight},
    {"dontstop.jpg", 720, 280, swingVertical},
}};

// Frame arithmetic on a scene's frame count, which may be anything an int32
// holds, is done in 64 bits and brought back within range.
int32_t clamped(int64_t frames) { return static_cast<int32_t>(std::clamp<int64_t>(frames, INT32_MIN, INT32_MAX)); }

std::unique_ptr<Overlay> prepare(const TitlePlan& plan, int64_t endFrame) {
    auto overlay = std::make_unique<Overlay>();
    overlay->loadImage(plan.image);
    overlay->duration = clamped(endFrame - plan.startFrame);
    overlay->startFrame = plan.startFrame;
    overlay->endFrame = clamped(endFrame);
    overlay->allocateCornerTables();
    overlay->defaultPath();
    plan.effect(*overlay);
    return overlay;
}

}  // namespace

TitleOverlays prepareTitleOverlays(int32_t salleFrameCount) {
    TitleOverlays overlays;
    for (size_t n = 0; n < titlePlans.size(); ++n) {
        const TitlePlan& plan = titlePlans[n];
        const int64_t end = n == overlaySix ? int64_t{salleFrameCount} - overlaySixEndBeforeLast
                                            : int64_t{plan.startFrame} + plan.duration;
        overlays[n] = prepare(plan, end);
    }
    return overlays;
}
