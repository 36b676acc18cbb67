#include "platform/web/web_gl_context.h"

#include <emscripten/html5.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "platform/win32.h"

namespace platform {

namespace {

constexpr const char* canvas = "#canvas";

void reportContextFailure(const std::string& step, EMSCRIPTEN_RESULT result) {
    const std::string line = "WebGL 2 context: " + step + " failed: " + std::to_string(result) + "\n";
    OutputDebugStringA(line.c_str());
    std::fputs(line.c_str(), stderr);
}

}  // namespace

WebGlContext::~WebGlContext() { emscripten_webgl_destroy_context(handle); }

bool WebGlContext::isCurrent() const { return emscripten_webgl_get_current_context() == handle; }

void WebGlContext::bind() { emscripten_webgl_make_context_current(handle); }

CanvasSize WebGlContext::fitCanvas() {
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_element_css_size(canvas, &cssWidth, &cssHeight);
    const double ratio = emscripten_get_device_pixel_ratio();
    CanvasSize wanted{std::max(1, int(std::lround(cssWidth * ratio))),
                      std::max(1, int(std::lround(cssHeight * ratio)))};
    CanvasSize current;
    emscripten_get_canvas_element_size(canvas, &current.width, &current.height);
    if (current.width != wanted.width || current.height != wanted.height)
        emscripten_set_canvas_element_size(canvas, wanted.width, wanted.height);
    return wanted;
}

// No depth, stencil or multisampling of its own: the renderer draws into
// framebuffers of its own and copies the frame to the canvas, which a
// multisampled canvas would refuse.
std::shared_ptr<WebGlContext> openCanvasContext() {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = false;
    attributes.depth = false;
    attributes.stencil = false;
    attributes.antialias = false;
    attributes.preserveDrawingBuffer = false;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle = emscripten_webgl_create_context(canvas, &attributes);
    if (handle <= 0) {
        reportContextFailure("emscripten_webgl_create_context(\"#canvas\")", EMSCRIPTEN_RESULT(handle));
        return nullptr;
    }
    auto context = std::make_shared<WebGlContext>(int(handle));
    context->makeCurrent();
    return context;
}

}  // namespace platform
