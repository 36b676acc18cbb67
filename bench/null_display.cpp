#include "bench/null_display.h"

#include "base/display_request.h"
#include "base/process_state.h"
#include "platform/test_seams.h"
#include "platform/tool_interface.h"

namespace bench {

void setUpNullDisplay(Renderer& renderer) {
    platform::NullDriverSettings settings = platform::defaultNullDriverSettings();
    settings.recordDrawnVertices = false;
    platform::setNullDriverSettings(settings);
    deviceGuid = &platform::nullDriverGuid();
    requestDemoDisplay(0);
    renderer.setUp();
}

}  // namespace bench
