#pragma once
// The modal dialogs and their controls, headless: a dialog is a window whose
// class procedure calls its dialog procedure; each control is a child window
// holding its own state. A view (GTK, the page) reads them and feeds user input
// back only through platform/dialog_view.h. Internal to the platform layer.

#include <string>
#include <vector>

#include "platform/win32/dialog_resources.h"

namespace platform {

struct ComboItem {
    std::string text;
    LPARAM data = 0;
};

struct Control {
    HWND handle = nullptr;
    HWND dialog = nullptr;
    int id = 0;
    const DialogItemResource* resource = nullptr;
    std::string text;
    std::vector<ComboItem> items;  // combo boxes
    int selection = -1;            // combo boxes: CB_ERR when none
    UINT check = BST_UNCHECKED;    // check boxes
};

struct Dialog {
    HWND handle = nullptr;
    HWND owner = nullptr;
    DLGPROC procedure = nullptr;
    const DialogResource* resource = nullptr;
    std::vector<HWND> controls;  // template order
    bool ended = false;
    INT_PTR result = 0;
};

Dialog* findDialog(HWND handle);
Control* findControl(HWND handle);
Control* findControl(HWND dialog, int id);

// The control's window procedure for its class ("BUTTON", "COMBOBOX", "STATIC").
WNDPROC controlProcedure(const std::string& className);
// Tells the view that a control's state changed.
void controlChanged(const Control& control);

}  // namespace platform
