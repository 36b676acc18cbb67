#include "platform/desktop/egl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "platform/desktop/gl_context_failure.h"

namespace platform {

namespace {

class EglContext final : public GlContext {
public:
    EglContext(EGLDisplay display, EGLContext context) : display(display), context(context) {}
    ~EglContext() override {
        if (isCurrent()) eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display, context);
    }

protected:
    bool isCurrent() const override { return eglGetCurrentContext() == context; }
    void bind() override { eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context); }

private:
    EGLDisplay display;
    EGLContext context;
};

// One display for the process: it is initialised once and never terminated,
// since contexts may come and go. A failure is reported once.
EGLDisplay surfacelessDisplay() {
    static EGLDisplay display = [] {
        auto getPlatformDisplay =
            reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (getPlatformDisplay == nullptr) {
            reportContextFailure("eglGetProcAddress(eglGetPlatformDisplayEXT)", "no such EGL extension");
            return EGL_NO_DISPLAY;
        }
        EGLDisplay found = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (found == EGL_NO_DISPLAY) {
            reportContextFailure("eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA)", eglErrorName(eglGetError()));
            return EGL_NO_DISPLAY;
        }
        if (!eglInitialize(found, nullptr, nullptr)) {
            reportContextFailure("eglInitialize", eglErrorName(eglGetError()));
            return EGL_NO_DISPLAY;
        }
        return found;
    }();
    return display;
}

}  // namespace

std::shared_ptr<GlContext> makeSurfacelessContext() {
    EGLDisplay display = surfacelessDisplay();
    if (display == EGL_NO_DISPLAY) return nullptr;
    if (!eglBindAPI(EGL_OPENGL_API)) {
        reportContextFailure("eglBindAPI(EGL_OPENGL_API)", eglErrorName(eglGetError()));
        return nullptr;
    }
    const EGLint attributes[] = {
        EGL_CONTEXT_MAJOR_VERSION,           3,       EGL_CONTEXT_MINOR_VERSION, 3, EGL_CONTEXT_OPENGL_PROFILE_MASK,
        EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
    EGLContext context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT) {
        reportContextFailure("eglCreateContext", eglErrorName(eglGetError()));
        return nullptr;
    }
    return std::make_shared<EglContext>(display, context);
}

}  // namespace platform
