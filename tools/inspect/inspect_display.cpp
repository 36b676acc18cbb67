#include "tools/inspect/inspect_display.h"

#include "base/display_request.h"
#include "base/display_state.h"
#include "base/process_state.h"

Display::Display(const GUID& driver) {
    deviceGuid = &driver;
    requestDemoDisplay(0);
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
