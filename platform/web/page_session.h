#pragma once
// The page the program's dialogs, message boxes, file picker and player live
// in, and the pump that lets the browser deliver the user's input while the
// program waits for it. Internal to the platform layer.

namespace platform {

// Starts pumping the page (once).
void openPage();
bool pageOpened();

}  // namespace platform
