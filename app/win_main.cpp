// Start-up and the normal end of the program.

#include <cstring>

#include "app/launcher.h"
#include "app/log.h"
#include "app/process_state.h"
#include "app/resource.h"
#include "platform/win32.h"

namespace {

void recordWorkingDirectory() {
    std::memset(workingDirectory, 0, sizeof workingDirectory);
    GetCurrentDirectoryA(sizeof workingDirectory, workingDirectory);
    size_t length = std::strlen(workingDirectory);
    // The last byte stays a terminator, whatever the directory's length.
    if (length + 1 < sizeof workingDirectory) workingDirectory[length] = '\\';
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    instance = hInstance;
    recordWorkingDirectory();
    logOpen("kvorlog.txt", nullptr);
    waitForRetrace = 1;
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_LAUNCHER), nullptr, launcherProc, 0);
    logWrite("\n-----------\nkvor closed\n----------");
    logClose();
    return 2;
}
