#pragma once
// The WebGL 2 context of the page's canvas ("#canvas"), as OpenGL ES 3.0.
// Internal to the platform layer.

#include <memory>

#include "platform/gl/gl_context.h"

namespace platform {

// The canvas's size in device pixels: what it shows on the page (or on the
// whole screen), its drawing buffer made that size first.
struct CanvasSize {
    int width = 0, height = 0;
};

class WebGlContext final : public GlContext {
public:
    explicit WebGlContext(int handle) : handle(handle) {}
    ~WebGlContext() override;
    WebGlContext(const WebGlContext&) = delete;
    WebGlContext& operator=(const WebGlContext&) = delete;

    CanvasSize fitCanvas();

protected:
    bool isCurrent() const override;
    void bind() override;

private:
    int handle;
};

// Null when the page has no canvas or the browser no WebGL 2; the reason goes
// to the debugger output and to standard error.
std::shared_ptr<WebGlContext> openCanvasContext();

}  // namespace platform
