#include "tools/inspect/quiet_standard_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

QuietStandardOutput::QuietStandardOutput() {
    std::fflush(stdout);
    const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nowhere < 0) return;
    saved = dup(STDOUT_FILENO);
    if (saved >= 0) dup2(nowhere, STDOUT_FILENO);
    close(nowhere);
}

QuietStandardOutput::~QuietStandardOutput() {
    if (saved < 0) return;
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
}
