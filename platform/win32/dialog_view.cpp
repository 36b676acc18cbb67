// Which view shows the dialogs.

#include "platform/dialog_view.h"

#include "platform/hooks.h"

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

bool& headless() {
    static bool value = false;
    return value;
}

}  // namespace

void setHeadlessDialogs(bool value) { headless() = value; }

bool headlessDialogs() { return headless(); }

DialogView* dialogView() {
    static NoView none;
    return headless() ? &none : windowSystemDialogView();
}

}  // namespace platform
