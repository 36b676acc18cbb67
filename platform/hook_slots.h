#pragma once
// Where the test seams of platform/test_seams.h plug into the layer: the slots
// their setters fill and the layer calls through. All are empty in a program's
// run. Internal to the platform layer.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/layer.h"

namespace platform {

// Told every text given to OutputDebugStringA, unchanged, in call order.
using DebugOutputHook = std::function<void(std::string_view text)>;
// Told every message box before it is shown.
using MessageBoxHook = std::function<void(std::string_view caption, std::string_view text)>;
// Told once a dialog has initialised and is shown, before its modal loop runs.
using DialogHook = std::function<void(HWND dialog, WORD resourceId)>;
// Answers GetOpenFileNameA in place of the file chooser: the chosen path, or
// none for a cancelled choice.
using OpenFileHook = std::function<std::optional<std::string>(const OPENFILENAMEA& request)>;

DebugOutputHook& debugOutputHook();
MessageBoxHook& messageBoxHook();
DialogHook& dialogHook();
OpenFileHook& openFileHook();
// Whether dialogs run as the model alone, never looking for a display.
bool& headlessDialogsSetting();

}  // namespace platform
