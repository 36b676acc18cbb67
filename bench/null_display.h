#pragma once
// The display on the null driver, as the demo brings it up, without the
// record of drawn vertices a benchmark has no use for.

#include "render/renderer.h"

namespace bench {

void setUpNullDisplay(Renderer& renderer);

}  // namespace bench
