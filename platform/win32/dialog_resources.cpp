#include "platform/win32/dialog_resources.h"

namespace {

const platform::DialogResource* findIn(const std::vector<platform::DialogResource>& dialogs, WORD id) {
    for (const platform::DialogResource& dialog : dialogs)
        if (dialog.id == id) return &dialog;
    return nullptr;
}

}  // namespace

std::vector<platform::DialogResource>& platform::replacedDialogResources() {
    static std::vector<DialogResource> dialogs;
    return dialogs;
}

const platform::DialogResource* platform::findDialogResource(WORD id) {
    if (const DialogResource* replaced = findIn(replacedDialogResources(), id)) return replaced;
    return findIn(dialogResources(), id);
}
