#pragma once
// The display the demo asks for, in the process-wide values the display
// set-up reads, and its release at the end of the show.

#include <cstdint>

// 640 x 480 at 16 bits per pixel, presented on the vertical retrace when
// retraceWait is non-zero.
void requestDemoDisplay(int32_t retraceWait);

// Releases the device, then the DirectDraw object, and destroys the rendering
// window; what is already gone is skipped (a window the user closed, a
// set-up that failed half way).
void releaseDemoDisplay();
