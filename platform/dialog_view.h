#pragma once
// What shows the dialog model on a window system: the contract a view face
// (GTK on the desktop, the page's HTML on the web) provides, and all a view
// reads of the model and tells it. Internal to the platform layer.

#include <optional>
#include <string>
#include <vector>

#include "platform/layer.h"
#include "platform/win32/dialog_resources.h"
#include "platform/win32/dialog_units.h"

namespace platform {

class DialogView {
public:
    virtual ~DialogView() = default;
    virtual void show(HWND dialog) = 0;
    virtual void update(HWND control) = 0;
    virtual void hide(HWND dialog) = 0;
    virtual void close(HWND dialog) = 0;  // the dialog's window is being destroyed
};

// A dialog as its view draws it.
struct ShownDialog {
    HWND owner = nullptr;
    const DialogResource* resource = nullptr;
    std::vector<HWND> controls;  // template order
};

// A control as its view draws it.
struct ShownControl {
    HWND handle = nullptr;
    const DialogItemResource* resource = nullptr;
    std::string text;
    std::vector<std::string> items;  // combo boxes
    int selection = -1;              // combo boxes: CB_ERR when none
    UINT check = BST_UNCHECKED;      // check boxes
};

// None once the dialog or control is gone.
std::optional<ShownDialog> shownDialog(HWND dialog);
std::optional<ShownControl> shownControl(HWND control);

// What the user did to a control, told to its dialog as Windows tells it.
void userClicked(HWND control);
// An automatic check box takes the new state itself; a plain one leaves it to
// its dialog procedure, and its view shows the model's state again.
void userToggled(HWND control, bool checked);
void userSelected(HWND control, int index);

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
