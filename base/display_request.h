#pragma once
// The display the demo asks for, in the process-wide values the display
// set-up reads.

#include <cstdint>

// 640 x 480 at 16 bits per pixel, presented on the vertical retrace when
// retraceWait is non-zero.
void requestDemoDisplay(int32_t retraceWait);

// Releases the device, then the DirectDraw object, and destroys the rendering
// window: the end of a display set up for the demo. Destroying a window the
// user already closed does nothing.
void releaseDemoDisplay();
