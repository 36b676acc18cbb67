#include "platform/win32/dialog_resources.h"

#include "platform/hooks.h"

namespace {

std::vector<platform::DialogResource>& replacements() {
    static std::vector<platform::DialogResource> dialogs;
    return dialogs;
}

const platform::DialogResource* findIn(const std::vector<platform::DialogResource>& dialogs, WORD id) {
    for (const platform::DialogResource& dialog : dialogs)
        if (dialog.id == id) return &dialog;
    return nullptr;
}

}  // namespace

void platform::replaceDialogResource(DialogResource dialog) {
    std::erase_if(replacements(), [&](const DialogResource& old) { return old.id == dialog.id; });
    replacements().push_back(std::move(dialog));
}

void platform::restoreDialogResources() { replacements().clear(); }

const platform::DialogResource* platform::findDialogResource(WORD id) {
    if (const DialogResource* replaced = findIn(replacements(), id)) return replaced;
    return findIn(dialogResources(), id);
}
