#include "platform/desktop/sample_governor.h"

#include <algorithm>
#include <array>

namespace platform {

namespace {

constexpr std::array<int, 3> sampleLevels{4, 2, 0};
constexpr size_t window = 30, tightFramesToStepDown = 6, framesToSettle = 3;
constexpr double tightShare = 0.9, easyShare = 0.4;

std::string perPixel(int samples) {
    return samples == 0 ? "no multisampling" : std::to_string(samples) + " samples per pixel";
}

}  // namespace

int SampleGovernor::samples() const { return sampleLevels[level]; }

bool SampleGovernor::frameMade(Clock::duration work, Clock::duration period) {
    if (settling > 0) {
        --settling;
        return false;
    }
    const double share = std::chrono::duration<double>(work) / std::chrono::duration<double>(period);
    recentTight.push_back(share > tightShare);
    if (recentTight.size() > window) recentTight.pop_front();
    easyRun = share < easyShare ? easyRun + 1 : 0;
    const auto tight = size_t(std::count(recentTight.begin(), recentTight.end(), true));
    if (level + 1 < sampleLevels.size() && tight >= tightFramesToStepDown) {
        if (lastStepUp) easyRunNeeded *= 2;
        step(level + 1, std::to_string(tight) + " of the last " + std::to_string(recentTight.size()) +
                            " frames took over 90 % of the refresh period");
        lastStepUp = false;
        return true;
    }
    if (level > 0 && easyRun >= easyRunNeeded) {
        step(level - 1, std::to_string(easyRun) + " frames in a row took under 40 % of the refresh period");
        lastStepUp = true;
        return true;
    }
    return false;
}

void SampleGovernor::step(size_t newLevel, std::string reason) {
    level = newLevel;
    why = perPixel(samples()) + ": " + reason;
    recentTight.clear();
    easyRun = 0;
    settling = framesToSettle;
}

}  // namespace platform
