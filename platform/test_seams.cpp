// The setters of the test seams: each fills the slot its face calls through.

#include "platform/test_seams.h"

#include <algorithm>

namespace platform {

void setDebugOutputHook(DebugOutputHook hook) { debugOutputHook() = std::move(hook); }

void setMessageBoxHook(MessageBoxHook hook) { messageBoxHook() = std::move(hook); }

void setHeadlessDialogs(bool headless) { headlessDialogsSetting() = headless; }

void setDialogHook(DialogHook hook) { dialogHook() = std::move(hook); }

void replaceDialogResource(DialogResource dialog) {
    std::erase_if(replacedDialogResources(), [&](const DialogResource& old) { return old.id == dialog.id; });
    replacedDialogResources().push_back(std::move(dialog));
}

void restoreDialogResources() { replacedDialogResources().clear(); }

void setOpenFileHook(OpenFileHook hook) { openFileHook() = std::move(hook); }

void setNullDriverSettings(NullDriverSettings settings) { nullDriverSettings() = std::move(settings); }

}  // namespace platform
