#include "tools/inspect/inspect_display.h"

#include "base/display_request.h"
#include "base/process_state.h"

Display::Display(const GUID& driver) {
    deviceGuid = &driver;
    requestDemoDisplay(0);
    renderer.setUp();
}

Display::~Display() { releaseDemoDisplay(); }
