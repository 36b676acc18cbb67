#pragma once

#include <array>

#include "platform/directx.h"

// Human-readable text for a DirectDraw result, used when reporting a failure.
// Each text is ": " + the description + " ", so it can sit between a code
// name and whatever follows it in a message.
struct DescriptionRow {
    HRESULT code;
    const char* text;
};

extern const std::array<DescriptionRow, 117> DescriptionTable;

// The row text of code, or nullptr when the table has no row for it.
const char* findDescription(HRESULT code);
