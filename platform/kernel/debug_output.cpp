#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/hooks.h"
#include "platform/layer.h"

namespace {

platform::DebugOutputHook& debugOutputHook() {
    static platform::DebugOutputHook hook;
    return hook;
}

}  // namespace

void platform::setDebugOutputHook(DebugOutputHook hook) { debugOutputHook() = std::move(hook); }

// There is no debugger to listen on other systems: standard error stands in,
// on request only, since the engine traces every string it reads.
void WINAPI OutputDebugStringA(LPCSTR text) {
    if (text == nullptr) return;
    if (std::getenv("KVOR_DEBUG_OUTPUT") != nullptr) std::fputs(text, stderr);
    if (auto& hook = debugOutputHook()) hook(std::string_view(text));
}
