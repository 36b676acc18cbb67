// Start-up and the normal end of the program.

#include "app/process_state.h"
#include "app/program_lifetime.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    startProgram(hInstance);
    waitForRetrace = 1;
    return endProgram();
}
