#pragma once
// The launcher dialog (resource 101) and the two option dialogs it can open
// (103, About; 104, Advanced option).

#include "platform/win32.h"

INT_PTR CALLBACK launcherProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK advancedProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// What "Launch" runs: runDemo, or a test's own show in its place.
extern int (*launchedShow)();
