#pragma once
// The demo's fixed script: display, three scenes, nine title overlays, the
// music, three parts played frame by frame, the fade and the teardown.

#include "app/music_player.h"

// Runs the whole show and returns 0 when it is over; the music's fade reads
// the monotonic clock.
int runDemo();
// The same, the fade reading fadeClock.
int runDemo(const FadeClock& fadeClock);
