#pragma once
// What only tests (and the benchmarks and fuzz targets that run the engine on
// the null driver) set in the platform layer: where its output is heard, how
// dialogs are worked without a person, and what the null driver offers and
// which of its calls fail. No program includes this header.

#include "platform/hook_slots.h"
#include "platform/null/null_driver_settings.h"
#include "platform/win32/dialog_resources.h"

namespace platform {

// An empty hook stops the forwarding.
void setDebugOutputHook(DebugOutputHook hook);
void setMessageBoxHook(MessageBoxHook hook);

// ---- Dialogs ---------------------------------------------------------------
// Dialogs show on the display through the window system's view. Headless,
// they run as the model alone, fed by posted messages, and never look for a
// display.
void setHeadlessDialogs(bool headless);

// The dialog hook is the place where a test posts what a user would do.
void setDialogHook(DialogHook hook);

// A template of the test's own in place of the program's resource with the
// same number, until restoreDialogResources.
void replaceDialogResource(DialogResource dialog);
void restoreDialogResources();

void setOpenFileHook(OpenFileHook hook);

// ---- Null driver -----------------------------------------------------------
// Applies to DirectDraw objects created afterwards.
void setNullDriverSettings(NullDriverSettings settings);

}  // namespace platform
