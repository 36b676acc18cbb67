#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/hook_slots.h"
#include "platform/layer.h"

platform::DebugOutputHook& platform::debugOutputHook() {
    static DebugOutputHook hook;
    return hook;
}

// There is no debugger to listen on other systems: standard error stands in,
// on request only, since the engine traces every string it reads.
void WINAPI OutputDebugStringA(LPCSTR text) {
    if (text == nullptr) return;
    if (std::getenv("KVOR_DEBUG_OUTPUT") != nullptr) std::fputs(text, stderr);
    if (auto& hook = platform::debugOutputHook()) hook(std::string_view(text));
}
