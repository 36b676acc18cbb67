#pragma once
// An OpenGL 3.3 core context with no surface at all, on Mesa's surfaceless
// EGL platform: no X server, no window. Internal to the platform layer.

#include <memory>

#include "platform/gl/gl_context.h"

namespace platform {

// Null when EGL cannot give such a context here; the reason is reported.
std::shared_ptr<GlContext> makeSurfacelessContext();

}  // namespace platform
