#include "app/program_lifetime.h"

#include <cstring>

#include "base/log.h"
#include "base/process_state.h"

namespace {

void recordWorkingDirectory() {
    std::memset(workingDirectory, 0, sizeof workingDirectory);
    GetCurrentDirectoryA(sizeof workingDirectory, workingDirectory);
    size_t length = std::strlen(workingDirectory);
    // The last byte stays a terminator, whatever the directory's length.
    if (length + 1 < sizeof workingDirectory) workingDirectory[length] = '\\';
}

}  // namespace

void startProgram(HINSTANCE hInstance) {
    instance = hInstance;
    recordWorkingDirectory();
    logOpen("kvorlog.txt", nullptr);
}

int endProgram() {
    logWrite("\n-----------\nkvor closed\n----------");
    logClose();
    return 2;
}
