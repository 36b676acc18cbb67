#pragma once
// The drivers DirectDrawCreateEx can make. Internal to the platform layer.

#include <memory>

#include "platform/ddraw/call_watch.h"
#include "platform/ddraw/ddraw_backend.h"

namespace platform {

// Null when the driver cannot run here (no display, no OpenGL).
std::shared_ptr<Driver> makeDisplayDriver();
std::shared_ptr<Driver> makeEnhancedDisplayDriver();
std::shared_ptr<Driver> makeCaptureDriver();
std::shared_ptr<Driver> makeNullDriver();
// The driver the environment variable KVOR_DRIVER names: "capture" or "null";
// display when it is unset or names anything else.
DriverKind environmentDriver();
// What records the calls on a null driver's objects and fails those it was told to.
std::shared_ptr<CallWatch> makeNullCallWatch();

}  // namespace platform
