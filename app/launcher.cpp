#include "app/launcher.h"

#include <cstring>

#include "app/demo_driver.h"
#include "app/driver_records.h"
#include "app/resource.h"
#include "base/log.h"
#include "base/process_state.h"

int (*launchedShow)() = runDemo;

namespace {

constexpr DWORD allDevices = DDENUM_ATTACHEDSECONDARYDEVICES | DDENUM_DETACHEDSECONDARYDEVICES |
                             DDENUM_NONDISPLAYDEVICES;

// The show runs nested in the "Launch" handler while the frame step still
// dispatches the launcher's messages: a second "Launch" or a "Quit" then waits
// for nothing and is ignored.
bool showRunning = false;

template <typename Record>
Record* recordAt(HWND dialog, int list, LRESULT index) {
    LRESULT data = SendDlgItemMessageA(dialog, list, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return data == CB_ERR || data == 0 ? nullptr : reinterpret_cast<Record*>(data);
}

template <typename Record>
Record* selectedRecord(HWND dialog, int list) {
    return recordAt<Record>(dialog, list, SendDlgItemMessageA(dialog, list, CB_GETCURSEL, 0, 0));
}

template <typename Record>
void addToList(HWND dialog, int list, const char* text, Record* record) {
    LRESULT index = SendDlgItemMessageA(dialog, list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendDlgItemMessageA(dialog, list, CB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(record));
}

// The list is sorted, so its first entry is whichever description comes first
// ("Enhanced Display Driver" before "Primary Display Driver"): the show starts
// on the primary display, the authentic picture, wherever one is listed.
WPARAM firstChoice(HWND dialog) {
    LRESULT count = SendDlgItemMessageA(dialog, IDC_DRIVERS, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        DriverRecord* driver = recordAt<DriverRecord>(dialog, IDC_DRIVERS, index);
        if (driver != nullptr && driver->guid == nullptr) return static_cast<WPARAM>(index);
    }
    return 0;
}

INT_PTR initialise(HWND dialog) {
    logWrite("-----------------------\nenumerating devices\n-----------------------\n");
    DirectDrawEnumerateExA(driverCallback, &driverList, allDevices);
    for (DriverRecord* record = driverList; record != nullptr; record = record->next)
        addToList(dialog, IDC_DRIVERS, record->description, record);
    SendDlgItemMessageA(dialog, IDC_DRIVERS, CB_SETCURSEL, firstChoice(dialog), 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_DRIVERS, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_DRIVERS)));
    launcherWindow = dialog;
    return TRUE;
}

void quit(HWND dialog) {
    if (showRunning) return;
    DestroyWindow(dialog);
    PostQuitMessage(8);
}

// With no driver listed there is nothing to put the show on.
void launch(HWND dialog) {
    if (showRunning) return;
    DriverRecord* driver = selectedRecord<DriverRecord>(dialog, IDC_DRIVERS);
    SendDlgItemMessageA(dialog, IDC_MODES, CB_GETCURSEL, 0, 0);
    if (driver == nullptr) {
        MessageBoxA(dialog, "No display driver was found: there is nothing to launch the show on.", "kvor",
                    MB_OK | MB_ICONERROR);
        return;
    }
    mainWindow = dialog;
    deviceGuid = driver->guid;
    showRunning = true;
    launchedShow();
    showRunning = false;
    DestroyWindow(dialog);
}

void listModes(HWND dialog) {
    SendDlgItemMessageA(dialog, IDC_MODES, CB_RESETCONTENT, 0, 0);
    DriverRecord* driver = selectedRecord<DriverRecord>(dialog, IDC_DRIVERS);
    if (driver == nullptr) return;
    for (ModeRecord* mode = driver->modes; mode != nullptr; mode = mode->next)
        addToList(dialog, IDC_MODES, mode->label, mode);
    SendDlgItemMessageA(dialog, IDC_MODES, CB_SETCURSEL, 0, 0);
}

void browse(HWND dialog) {
    char file[512] = "*.kvs";
    char fileTitle[512] = {};
    char initialDirectory[sizeof workingDirectory];
    std::memcpy(initialDirectory, workingDirectory, sizeof initialDirectory);
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = dialog;
    request.lpstrFilter = "kvor files (*.kvs)\0*.kvs\0";
    request.nFilterIndex = 1;
    request.lpstrFile = file;
    request.nMaxFile = sizeof file;
    request.lpstrFileTitle = fileTitle;
    request.nMaxFileTitle = sizeof fileTitle;
    request.lpstrInitialDir = initialDirectory;
    request.lpstrTitle = "Select file";
    request.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    request.lpstrDefExt = ".kvs";
    if (GetOpenFileNameA(&request)) SetDlgItemTextA(dialog, IDC_FILE_NAME, file);
}

void command(HWND dialog, WORD id, WORD notification) {
    switch (id) {
        case IDCANCEL: quit(dialog); break;
        case IDC_LAUNCH: launch(dialog); break;
        case IDC_DRIVERS:
            if (notification == CBN_SELCHANGE) listModes(dialog);
            break;
        case IDC_BROWSE: browse(dialog); break;
        case IDC_NOT_YET: MessageBoxA(dialog, "not yet implemented", "", MB_OK); break;
        case IDC_ABOUT: DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), dialog, aboutProc, 0); break;
        case IDC_ADVANCED: DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ADVANCED), dialog, advancedProc, 0); break;
        default: break;
    }
}

}  // namespace

INT_PTR CALLBACK launcherProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return initialise(dialog);
    if (message != WM_COMMAND) return FALSE;
    command(dialog, LOWORD(wParam), HIWORD(wParam));
    return TRUE;
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) EndDialog(dialog, 1);
    return FALSE;
}

INT_PTR CALLBACK advancedProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) CheckDlgButton(dialog, IDC_WAIT_FOR_RETRACE, static_cast<UINT>(waitForRetrace));
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDOK) EndDialog(dialog, 1);
    if (LOWORD(wParam) == IDC_WAIT_FOR_RETRACE)
        waitForRetrace = IsDlgButtonChecked(dialog, IDC_WAIT_FOR_RETRACE) == BST_CHECKED ? 1 : 0;
    return FALSE;
}
