#pragma once
// kvor-view's window: the show or a scene played at the display's refresh
// with a timeline, reloaded when its files are written again.

#include "tools/view/view_options.h"

namespace view {

// Runs until Escape or the window is closed; the process's exit status.
int runViewer(const ViewOptions& options);

}  // namespace view
