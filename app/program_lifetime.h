#pragma once
// The program's start and normal end around the show: what WinMain does
// before and after the launcher, also used by tools that run the show without it.

#include "platform/win32.h"

// Keeps the instance handle, records the working directory and opens the log
// "kvorlog.txt" in it with its start line.
void startProgram(HINSTANCE hInstance);
// Writes the log's closing lines, closes it and returns WinMain's exit code, 2.
int endProgram();
