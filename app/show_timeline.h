#pragma once
// What may move the demo's show between its frames besides the show itself: a
// page's seek bar and keys, say. Nothing by default, and the demo plays
// straight through.

#include <functional>

#include "app/show.h"

// Called before each frame of the demo with its show, which it may jump, and
// once more when the show is over, which it may then take back.
using ShowTimeline = std::function<void(Show& show)>;
// Installs timeline for the shows played from now on; an empty one removes it.
void setShowTimeline(ShowTimeline timeline);
const ShowTimeline& showTimeline();
