#pragma once
// Values that live for the whole process and that several subsystems share.

#include "platform/directx.h"
#include "platform/win32.h"

extern HINSTANCE instance;
// The start directory with a backslash appended (C:\demo becomes C:\demo\), the
// open-file dialog's starting place. Always NUL-terminated.
extern char workingDirectory[500];
extern HWND launcherWindow;  // owns the message boxes of fatalError
extern HWND mainWindow;      // the window that fatalMessage destroys

// The display, held process-wide so that the fatal stops can release it.
extern IDirectDraw7* directDraw;
extern IDirect3DDevice7* device;

// The requested display mode and presentation, set by the launcher and the demo
// driver, read by the display set-up.
extern int32_t displayWidth;
extern int32_t displayHeight;
extern int32_t displayBitDepth;
extern int32_t waitForRetrace;  // non-zero: present on the vertical retrace
extern const GUID* deviceGuid;  // the chosen DirectDraw driver; null for the primary display
extern bool demoRunning;        // only the rendering window clears it
