#include "base/process_state.h"

HINSTANCE instance = nullptr;
char workingDirectory[500] = {};
HWND launcherWindow = nullptr;
HWND mainWindow = nullptr;
IDirectDraw7* directDraw = nullptr;
IDirect3DDevice7* device = nullptr;
int32_t displayWidth = 0;
int32_t displayHeight = 0;
int32_t displayBitDepth = 0;
int32_t waitForRetrace = 0;
const GUID* deviceGuid = nullptr;
bool demoRunning = true;
