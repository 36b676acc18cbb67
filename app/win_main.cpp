// Start-up and the normal end of the program.

#include "app/launcher.h"
#include "app/program_lifetime.h"
#include "app/resource.h"
#include "base/process_state.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    startProgram(hInstance);
    waitForRetrace = 1;
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_LAUNCHER), nullptr, launcherProc, 0);
    return endProgram();
}
