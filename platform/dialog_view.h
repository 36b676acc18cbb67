#pragma once
// What shows the dialog model on a window system. Internal to the platform layer.

#include <optional>
#include <string>

#include "platform/layer.h"

namespace platform {

class DialogView {
public:
    virtual ~DialogView() = default;
    virtual void show(HWND dialog) = 0;
    virtual void update(HWND control) = 0;
    virtual void hide(HWND dialog) = 0;
    virtual void close(HWND dialog) = 0;  // the dialog's window is being destroyed
};

// The view dialogs are shown on: one that shows nothing when dialogs are
// headless, else GTK's; null when GTK finds no display.
DialogView* dialogView();
bool headlessDialogs();

// GTK, opened on first use: null when no display can be opened.
DialogView* gtkDialogView();
// Whether GTK has already been opened (by a dialog shown on the display).
bool gtkIsOpen();
int gtkMessageBox(HWND owner, const char* text, const char* caption, UINT type);
// The path chosen in a file chooser, or none when the user cancelled.
std::optional<std::string> gtkChooseFile(const OPENFILENAMEA& request);

}  // namespace platform
