#pragma once
// The demo's nine title images: which file, when in its part, for how long,
// and with which effect.

#include <array>
#include <cstdint>
#include <memory>

#include "overlay/overlay.h"

using TitleOverlays = std::array<std::unique_ptr<Overlay>, 9>;

// Loads, times and fills the nine overlays in table order (element n is
// overlay n + 1). Overlay 6 ends 5 frames before the salle scene's last
// frame; with fewer than 705 frames it has no life.
TitleOverlays prepareTitleOverlays(int32_t salleFrameCount);
