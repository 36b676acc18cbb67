#pragma once
// The demo's fixed script: display, three scenes, nine title overlays, the
// music, three parts played frame by frame, the fade and the teardown.

// Runs the whole show and returns 0 when it is over.
int runDemo();
