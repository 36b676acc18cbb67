// Modal dialogs from the program's dialog resources: creation from a template,
// the modal loop, the ending, and the functions that reach controls by id.

#include "platform/win32/dialog_model.h"

#include <cstdio>
#include <map>

#include "platform/dialog_view.h"
#include "platform/hook_slots.h"

namespace platform {

namespace {

constexpr const char* dialogClass = "#32770";

std::map<HWND, Dialog>& dialogs() {
    static std::map<HWND, Dialog> all;
    return all;
}

std::map<HWND, Control>& controls() {
    static std::map<HWND, Control> all;
    return all;
}

void notifyView(void (DialogView::*change)(HWND), HWND handle) {
    if (DialogView* view = dialogView()) (view->*change)(handle);
}

void destroyControls(Dialog& dialog) {
    for (HWND control : dialog.controls) {
        DestroyWindow(control);
        controls().erase(control);
    }
}

// What DefDlgProc does for the messages a dialog procedure leaves alone.
LRESULT defaultDialogAction(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        PostMessageA(handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(handle, IDCANCEL)));
        return 0;
    }
    return DefWindowProcA(handle, message, wParam, lParam);
}

LRESULT CALLBACK dialogProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* dialog = findDialog(handle);
    if (dialog == nullptr) return DefWindowProcA(handle, message, wParam, lParam);  // still being created
    if (message == WM_NCDESTROY) {
        destroyControls(*dialog);
        notifyView(&DialogView::close, handle);
        dialogs().erase(handle);
        return 0;
    }
    if (INT_PTR handled = dialog->procedure(handle, message, wParam, lParam)) return handled;
    return defaultDialogAction(handle, message, wParam, lParam);
}

void registerClasses() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    for (const char* name : {dialogClass, "BUTTON", "COMBOBOX", "STATIC"}) {
        WNDCLASSA windowClass{};
        windowClass.lpszClassName = name;
        windowClass.lpfnWndProc = name == dialogClass ? dialogProcedure : controlProcedure(name);
        RegisterClassA(&windowClass);
    }
}

void createControl(Dialog& dialog, const DialogItemResource& item) {
    HWND handle = CreateWindowExA(0, item.className.c_str(), item.text.c_str(), item.style & ~WS_VISIBLE, item.x,
                                  item.y, item.width, item.height, dialog.handle,
                                  reinterpret_cast<HMENU>(static_cast<intptr_t>(item.id)), nullptr, nullptr);
    if (handle == nullptr) return;
    controls()[handle] = Control{handle, dialog.handle, item.id, &item, item.text, {}, -1, BST_UNCHECKED};
    dialog.controls.push_back(handle);
}

// The window is kept out of the paint cycle (no WS_VISIBLE): its view paints it.
HWND createDialog(const DialogResource& resource, HWND owner, DLGPROC procedure) {
    registerClasses();
    HWND handle = CreateWindowExA(0, dialogClass, resource.caption.c_str(), resource.style & ~WS_VISIBLE,
                                  resource.x, resource.y, resource.width, resource.height, owner, nullptr, nullptr,
                                  nullptr);
    if (handle == nullptr) return nullptr;
    Dialog& dialog = dialogs()[handle];
    dialog = Dialog{handle, owner, procedure, &resource, {}, false, 0};
    for (const DialogItemResource& item : resource.items) createControl(dialog, item);
    return handle;
}

HWND firstTabStop(const Dialog& dialog) {
    for (HWND handle : dialog.controls)
        if (const Control* control = findControl(handle); control && (control->resource->style & WS_TABSTOP))
            return handle;
    return nullptr;
}

// Escape in the dialog or one of its controls is the Cancel command, as
// IsDialogMessage makes it.
bool isDialogMessage(HWND dialog, const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE) return false;
    const Control* control = findControl(message.hwnd);
    if (message.hwnd != dialog && (control == nullptr || control->dialog != dialog)) return false;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    return true;
}

// Until EndDialog or the dialog's destruction. WM_QUIT ends the loop and is
// posted again for the caller's own loop; a queue that can never receive
// anything more (headless, nothing posted) ends it with a failure.
INT_PTR runModalLoop(HWND handle) {
    for (;;) {
        const Dialog* dialog = findDialog(handle);
        if (dialog == nullptr) return 0;
        if (dialog->ended) {
            INT_PTR result = dialog->result;
            DestroyWindow(handle);
            return result;
        }
        MSG message{};
        BOOL received = GetMessageA(&message, nullptr, 0, 0);
        if (received == 0) PostQuitMessage(static_cast<int>(message.wParam));
        if (received <= 0) {
            DestroyWindow(handle);
            return received == 0 ? 0 : -1;
        }
        if (!isDialogMessage(handle, message)) DispatchMessageA(&message);
    }
}

void reportNoDisplay() {
    std::fprintf(stderr,
                 "kvor: no display was found (neither X11 nor Wayland answered), so the launcher cannot be shown; "
                 "kvor-capture records the show without one.\n");
}

}  // namespace

Dialog* findDialog(HWND handle) {
    auto found = dialogs().find(handle);
    return found == dialogs().end() ? nullptr : &found->second;
}

Control* findControl(HWND handle) {
    auto found = controls().find(handle);
    return found == controls().end() ? nullptr : &found->second;
}

Control* findControl(HWND dialogHandle, int id) {
    const Dialog* dialog = findDialog(dialogHandle);
    if (dialog == nullptr) return nullptr;
    for (HWND handle : dialog->controls)
        if (Control* control = findControl(handle); control && control->id == id) return control;
    return nullptr;
}

void controlChanged(const Control& control) { notifyView(&DialogView::update, control.handle); }

DialogHook& dialogHook() {
    static DialogHook hook;
    return hook;
}

}  // namespace platform

INT_PTR WINAPI DialogBoxParamA(HINSTANCE, LPCSTR templateName, HWND owner, DLGPROC procedure, LPARAM initParam) {
    if (!IS_INTRESOURCE(templateName) || procedure == nullptr) return -1;
    const WORD id = LOWORD(reinterpret_cast<uintptr_t>(templateName));
    const platform::DialogResource* resource = platform::findDialogResource(id);
    if (resource == nullptr) return -1;
    platform::DialogView* view = platform::dialogView();
    if (view == nullptr) {
        platform::reportNoDisplay();
        return -1;
    }
    HWND dialog = platform::createDialog(*resource, owner, procedure);
    if (dialog == nullptr) return -1;
    SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(platform::firstTabStop(*platform::findDialog(dialog))),
                 initParam);
    if (IsWindow(dialog)) view->show(dialog);
    if (auto& hook = platform::dialogHook(); hook && IsWindow(dialog)) hook(dialog, id);
    return platform::runModalLoop(dialog);
}

BOOL WINAPI EndDialog(HWND handle, INT_PTR result) {
    platform::Dialog* dialog = platform::findDialog(handle);
    if (dialog == nullptr) return FALSE;
    dialog->ended = true;
    dialog->result = result;
    platform::notifyView(&platform::DialogView::hide, handle);
    return TRUE;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    platform::Control* control = platform::findControl(dialog, id);
    return control != nullptr ? control->handle : nullptr;
}

// A message for an id that no control bears reaches no window and answers 0.
LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND control = GetDlgItem(dialog, id);
    return control != nullptr ? SendMessageA(control, message, wParam, lParam) : 0;
}

BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
    return SendDlgItemMessageA(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) return FALSE;
    SendMessageA(control, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND dialog, int id) {
    return static_cast<UINT>(SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0));
}
