#pragma once
// Calls whose failure is logged and ends in a fatal stop.

#include <cstdio>

#include "platform/win32.h"

// The open stream, or a logged fatal stop naming the path.
std::FILE* openOrFail(const char* path, const char* mode);

// Logs "<operation> success" or "<operation> failed"; a failure also logs its
// cause and stops with the operation as the message.
void checkResult(HRESULT result, const char* operation);
