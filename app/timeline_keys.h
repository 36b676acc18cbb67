#pragma once
// A timeline's keys, in kvor-view's window and in the page: where each one
// puts the show.

#include <cstdint>

#include "app/show.h"

// The show's frames in a second of its music, at the display's usual refresh.
constexpr int showFramesPerSecond = 60;

// The show's frame the key leads to from where show stands: Left and Right a
// second back or forward (Shift: one frame), Page Up the start of the
// previous part, Page Down of the next, Home the first frame; always a frame
// of the show. Other keys leave it where it is.
int64_t frameAfterKey(const Show& show, int virtualKey, bool shift);
