#pragma once
// The program's dialog resources as the platform's dialog model reads them.
// The build produces them from the program's resource script; positions and
// sizes are in dialog units.

#include <string>
#include <vector>

#include "platform/layer.h"

namespace platform {

struct DialogItemResource {
    std::string className;  // "BUTTON", "COMBOBOX" or "STATIC"
    std::string text;
    int id;
    DWORD style;  // WS_CHILD | WS_VISIBLE included
    short x, y, width, height;
};

struct DialogResource {
    WORD id;
    DWORD style;
    std::string caption;
    std::string fontName;
    WORD fontSize;  // points
    short x, y, width, height;
    std::vector<DialogItemResource> items;
};

// Every dialog of the resource script, in script order.
const std::vector<DialogResource>& dialogResources();
// The dialog with that resource number, or null.
const DialogResource* findDialogResource(WORD id);
// Templates that stand in for the resources with the same numbers (tests'
// own dialogs), looked up first.
std::vector<DialogResource>& replacedDialogResources();

}  // namespace platform
