#pragma once
// An OpenGL context of one driver: an EGL context with no surface, or the GL
// context of an SDL window. Internal to the platform layer.

namespace platform {

class GlContext {
public:
    virtual ~GlContext() = default;
    // Asks the window system, not a cache: other code may switch contexts too.
    void makeCurrent() {
        if (!isCurrent()) bind();
    }

protected:
    virtual bool isCurrent() const = 0;
    virtual void bind() = 0;
};

}  // namespace platform
