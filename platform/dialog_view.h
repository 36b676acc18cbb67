#pragma once
// What shows the dialog model on a window system: the contract a view face
// (GTK on the desktop) provides. Internal to the platform layer.

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
// headless, else the window system's; null when it finds no display.
DialogView* dialogView();
bool headlessDialogs();

// Provided by the view face.
// The window system's view, opened on first use: null when no display can be opened.
DialogView* windowSystemDialogView();
// Whether the window system has already been opened (by a dialog shown on the display).
bool windowSystemIsOpen();
int windowSystemMessageBox(HWND owner, const char* text, const char* caption, UINT type);
// The path chosen in a file chooser, or none when the user cancelled.
std::optional<std::string> windowSystemChooseFile(const OPENFILENAMEA& request);

}  // namespace platform
