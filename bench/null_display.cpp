#include "bench/null_display.h"

#include "app/process_state.h"
#include "platform/hooks.h"

namespace bench {

void setUpNullDisplay(Renderer& renderer) {
    platform::NullDriverSettings settings = platform::defaultNullDriverSettings();
    settings.recordDrawnVertices = false;
    platform::setNullDriverSettings(settings);
    deviceGuid = &platform::nullDriverGuid();
    displayWidth = 640;
    displayHeight = 480;
    displayBitDepth = 16;
    waitForRetrace = 0;
    renderer.setUp();
}

}  // namespace bench
