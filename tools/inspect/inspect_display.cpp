#include "tools/inspect/inspect_display.h"

#include "app/process_state.h"
#include "render/display_state.h"

Display::Display(const GUID& driver) {
    deviceGuid = &driver;
    displayWidth = 640;
    displayHeight = 480;
    displayBitDepth = 16;
    waitForRetrace = 0;
    renderer.setUp();
}

Display::~Display() {
    if (device != nullptr) device->Release();
    if (directDraw != nullptr) directDraw->Release();
    device = nullptr;
    directDraw = nullptr;
    DestroyWindow(renderWindow);
    renderWindow = nullptr;
}
