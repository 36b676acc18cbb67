#pragma once
// GTK, opened the first time a window must be shown, and pumped with the
// thread's message queue. Internal to the platform layer.

#include <string>

#include "platform/layer.h"

typedef struct _GtkWidget GtkWidget;

namespace platform {

// Opens GTK on the display (once); false when no display can be opened.
bool openGtk();
bool gtkOpened();
// The GTK window showing a dialog, or null.
GtkWidget* gtkWindowOf(HWND dialog);
// The dialog font: MS Sans Serif where installed, else the desktop's sans-serif.
std::string dialogFontFamily();

}  // namespace platform
