#pragma once
// An OpenGL context of one driver: an EGL context with no surface, or the GL
// context of an SDL window. Internal to the platform layer.

namespace platform {

class GlContext {
public:
    virtual ~GlContext() = default;
    // Makes this context current unless it already is.
    void makeCurrent();

protected:
    virtual void bind() = 0;
    // A context about to go must not stay recorded as the current one.
    void forget();
};

}  // namespace platform
