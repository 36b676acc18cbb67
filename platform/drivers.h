#pragma once
// The drivers DirectDrawCreateEx can make. Internal to the platform layer.

#include <memory>

#include "platform/ddraw_backend.h"

namespace platform {

// Null when the driver cannot run here (no display, no OpenGL).
std::shared_ptr<Driver> makeDisplayDriver();
std::shared_ptr<Driver> makeEnhancedDisplayDriver();
std::shared_ptr<Driver> makeCaptureDriver();
std::shared_ptr<Driver> makeNullDriver();

}  // namespace platform
