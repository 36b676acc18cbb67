#include "base/display_request.h"

#include "base/process_state.h"

void requestDemoDisplay(int32_t retraceWait) {
    displayBitDepth = 16;
    displayHeight = 480;
    displayWidth = 640;
    waitForRetrace = retraceWait;
}
