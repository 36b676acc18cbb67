// Which view shows the dialogs.

#include "platform/dialog_view.h"

#include "platform/hook_slots.h"

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

}  // namespace

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
