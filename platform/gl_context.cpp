#include "platform/gl_context.h"

namespace platform {

namespace {

GlContext*& currentContext() {
    static GlContext* current = nullptr;
    return current;
}

}  // namespace

void GlContext::makeCurrent() {
    if (currentContext() == this) return;
    bind();
    currentContext() = this;
}

void GlContext::forget() {
    if (currentContext() == this) currentContext() = nullptr;
}

}  // namespace platform
