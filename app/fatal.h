#pragma once
// Fatal stops: the program cannot go on. Each releases the display, shows a
// message box, releases the registered scene and ends the process with -1.

#include <cstdio>

#include "platform/win32.h"

// Kinds: 0 out of memory, 1 file not found, 2 cannot write; others show no box.
[[noreturn]] void fatalError(int kind);
[[noreturn]] void fatalMessage(const char* text);

// The open stream, or a logged fatal stop naming the path.
std::FILE* openOrFail(const char* path, const char* mode);

// Logs "<operation> success" or "<operation> failed"; a failure also logs its
// cause and stops with the operation as the message.
void checkResult(HRESULT result, const char* operation);
