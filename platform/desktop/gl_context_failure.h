#pragma once
// Why no OpenGL context could be had. The engine only sees the DirectDraw code
// of the failure (DDERR_NODIRECTDRAWHW); the system's own reason goes to the
// debugger output and to standard error, with the step that failed, as a
// system's debug runtime reports it. Internal to the platform layer.

#include <string>

namespace platform {

// "OpenGL 3.3 core context: <step> failed: <reason>\n"
void reportContextFailure(const std::string& step, const std::string& reason);

// The name of an EGL error code ("EGL_BAD_MATCH"), or its number in hex.
std::string eglErrorName(int code);

}  // namespace platform
