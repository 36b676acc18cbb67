// Which view shows the dialogs, and what a view reads of the model and tells it.

#include "platform/dialog_view.h"

#include "platform/hook_slots.h"
#include "platform/win32/dialog_model.h"

namespace platform {

namespace {

// Headless: the model alone.
class NoView final : public DialogView {
public:
    void show(HWND) override {}
    void update(HWND) override {}
    void hide(HWND) override {}
    void close(HWND) override {}
};

void postCommand(const Control& control, WORD notification) {
    PostMessageA(control.dialog, WM_COMMAND, MAKEWPARAM(control.id, notification),
                 reinterpret_cast<LPARAM>(control.handle));
}

}  // namespace

std::optional<ShownDialog> shownDialog(HWND handle) {
    const Dialog* dialog = findDialog(handle);
    if (dialog == nullptr) return std::nullopt;
    return ShownDialog{dialog->owner, dialog->resource, dialog->controls};
}

std::optional<ShownControl> shownControl(HWND handle) {
    const Control* control = findControl(handle);
    if (control == nullptr) return std::nullopt;
    ShownControl shown{control->handle, control->resource, control->text, {}, control->selection, control->check};
    for (const ComboItem& item : control->items) shown.items.push_back(item.text);
    return shown;
}

void userClicked(HWND handle) {
    if (const Control* control = findControl(handle)) postCommand(*control, BN_CLICKED);
}

void userToggled(HWND handle, bool checked) {
    Control* control = findControl(handle);
    if (control == nullptr) return;
    if ((control->resource->style & BS_TYPEMASK) == BS_AUTOCHECKBOX)
        control->check = checked ? BST_CHECKED : BST_UNCHECKED;
    else
        controlChanged(*control);
    postCommand(*control, BN_CLICKED);
}

void userSelected(HWND handle, int index) {
    Control* control = findControl(handle);
    if (control == nullptr) return;
    control->selection = index;
    postCommand(*control, CBN_SELCHANGE);
}

bool& headlessDialogsSetting() {
    static bool value = false;
    return value;
}

bool headlessDialogs() { return headlessDialogsSetting(); }

DialogView* dialogView() {
    static NoView none;
    return headlessDialogs() ? &none : windowSystemDialogView();
}

}  // namespace platform
