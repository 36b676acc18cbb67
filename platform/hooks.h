#pragma once
// Hooks into the platform layer for tests and tools. The engine never includes
// this header: nothing here exists on Windows.

#include <functional>
#include <string_view>

namespace platform {

// Receives every text given to OutputDebugStringA, unchanged, in call order.
// An empty hook stops the forwarding.
using DebugOutputHook = std::function<void(std::string_view text)>;
void setDebugOutputHook(DebugOutputHook hook);

// Receives every message box before it is shown.
using MessageBoxHook = std::function<void(std::string_view caption, std::string_view text)>;
void setMessageBoxHook(MessageBoxHook hook);

}  // namespace platform
