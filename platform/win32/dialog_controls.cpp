// The controls of a dialog: push buttons, check boxes and group boxes (class
// BUTTON), drop-down lists (COMBOBOX) and static text (STATIC), each answering
// the messages of its class as Windows does.

#include <strings.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "platform/win32/dialog_model.h"

namespace platform {

namespace {

LRESULT setText(Control& control, LPARAM lParam) {
    control.text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
    controlChanged(control);
    return TRUE;
}

// Copies at most wParam - 1 characters and a terminator; answers the count copied.
LRESULT getText(const Control& control, WPARAM wParam, LPARAM lParam) {
    if (wParam == 0 || lParam == 0) return 0;
    size_t count = std::min<size_t>(control.text.size(), wParam - 1);
    std::memcpy(reinterpret_cast<char*>(lParam), control.text.data(), count);
    reinterpret_cast<char*>(lParam)[count] = '\0';
    return static_cast<LRESULT>(count);
}

LRESULT commonMessage(Control& control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT: return setText(control, lParam);
        case WM_GETTEXT: return getText(control, wParam, lParam);
        case WM_NCCREATE: return TRUE;
        default: return 0;
    }
}

bool isCheckBox(const Control& control) {
    DWORD type = control.resource->style & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX;
}

LRESULT CALLBACK buttonProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Control* control = findControl(handle);
    if (control == nullptr) return message == WM_NCCREATE ? TRUE : 0;
    if (message == BM_GETCHECK) return isCheckBox(*control) ? control->check : BST_UNCHECKED;
    if (message == BM_SETCHECK) {
        if (isCheckBox(*control)) control->check = wParam == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
        controlChanged(*control);
        return 0;
    }
    return commonMessage(*control, message, wParam, lParam);
}

LRESULT CALLBACK staticProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Control* control = findControl(handle);
    if (control == nullptr) return message == WM_NCCREATE ? TRUE : 0;
    return commonMessage(*control, message, wParam, lParam);
}

// A sorted list places a new entry after every entry that compares below or
// equal to it, ignoring case.
size_t insertionIndex(const Control& control, const char* text) {
    if (!(control.resource->style & CBS_SORT)) return control.items.size();
    auto after = std::find_if(control.items.begin(), control.items.end(),
                              [&](const ComboItem& item) { return strcasecmp(item.text.c_str(), text) > 0; });
    return static_cast<size_t>(after - control.items.begin());
}

LRESULT addString(Control& control, LPARAM lParam) {
    const char* text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
    size_t index = insertionIndex(control, text);
    control.items.insert(control.items.begin() + static_cast<ptrdiff_t>(index), ComboItem{text, 0});
    if (control.selection >= static_cast<int>(index)) ++control.selection;
    controlChanged(control);
    return static_cast<LRESULT>(index);
}

bool validIndex(const Control& control, WPARAM index) { return index < control.items.size(); }

LRESULT comboMessage(Control& control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case CB_ADDSTRING: return addString(control, lParam);
        case CB_GETCOUNT: return static_cast<LRESULT>(control.items.size());
        case CB_GETCURSEL: return control.selection;
        case CB_SETCURSEL:
            control.selection = validIndex(control, wParam) ? static_cast<int>(wParam) : -1;
            controlChanged(control);
            return control.selection;
        case CB_RESETCONTENT:
            control.items.clear();
            control.selection = -1;
            controlChanged(control);
            return CB_OKAY;
        case CB_GETITEMDATA: return validIndex(control, wParam) ? control.items[wParam].data : CB_ERR;
        case CB_SETITEMDATA:
            if (!validIndex(control, wParam)) return CB_ERR;
            control.items[wParam].data = lParam;
            return TRUE;
        case CB_GETLBTEXTLEN:
            return validIndex(control, wParam) ? static_cast<LRESULT>(control.items[wParam].text.size()) : CB_ERR;
        case CB_GETLBTEXT: {
            if (!validIndex(control, wParam) || lParam == 0) return CB_ERR;
            const std::string& text = control.items[wParam].text;
            std::memcpy(reinterpret_cast<char*>(lParam), text.c_str(), text.size() + 1);
            return static_cast<LRESULT>(text.size());
        }
        default: return commonMessage(control, message, wParam, lParam);
    }
}

LRESULT CALLBACK comboProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Control* control = findControl(handle);
    if (control == nullptr) return message == WM_NCCREATE ? TRUE : 0;
    return comboMessage(*control, message, wParam, lParam);
}

}  // namespace

WNDPROC controlProcedure(const std::string& className) {
    if (strcasecmp(className.c_str(), "BUTTON") == 0) return buttonProcedure;
    if (strcasecmp(className.c_str(), "COMBOBOX") == 0) return comboProcedure;
    return staticProcedure;
}

}  // namespace platform
