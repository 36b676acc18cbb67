// The dialogs shown as HTML controls in the page: each control placed at its
// template's position, converted from dialog units the way Windows converts
// them with the page's dialog font, and the user's input posted back to the
// thread's queue as the messages Windows would send. The page's script
// (site/page.js) draws them; this file tells it what to draw.

#include <emscripten.h>

#include <string>

#include "platform/dialog_view.h"
#include "platform/web/page_session.h"

// The page's side (library_page.js).
extern "C" {
int kvor_page_measure_dialog_font(int size);
void kvor_page_show_dialog(int handle, int owner, const char* caption, int width, int height, int closable);
void kvor_page_add_control(int dialog, int handle, const char* kind, int align, int x, int y, int width, int height);
void kvor_page_set_control(int handle, const char* text, int checked, const char* items, int selection);
void kvor_page_hide_dialog(int handle);
void kvor_page_close_dialog(int handle);
}

namespace platform {

namespace {

int number(HWND handle) { return static_cast<int>(reinterpret_cast<intptr_t>(handle)); }

HWND handleOf(int number) { return reinterpret_cast<HWND>(static_cast<intptr_t>(number)); }

DialogUnits measureUnits(const DialogResource& resource) {
    const int measured = kvor_page_measure_dialog_font(resource.fontSize ? resource.fontSize : 8);
    return baseUnits(measured >> 16, measured & 0xFFFF);
}

// The page's kind of element for the control.
const char* kindOf(const DialogItemResource& item) {
    if (item.className == "COMBOBOX") return "select";
    if (item.className != "BUTTON") return "text";
    const DWORD type = item.style & BS_TYPEMASK;
    if (type == BS_GROUPBOX) return "group";
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX) return "check";
    return "button";
}

// -1 left, 0 centred, 1 right: how static text is aligned.
int alignmentOf(const DialogItemResource& item) {
    if (item.className != "STATIC") return -1;
    const DWORD type = item.style & SS_TYPEMASK;
    return type == SS_CENTER ? 0 : type == SS_RIGHT ? 1 : -1;
}

// A combo box's items, one a line (an item's own line breaks become blanks).
std::string itemLines(const ShownControl& control) {
    std::string lines;
    for (std::string text : control.items) {
        for (char& c : text)
            if (c == '\n' || c == '\r') c = ' ';
        lines += text + '\n';
    }
    return lines;
}

class PageDialogView final : public DialogView {
public:
    void show(HWND handle) override {
        const std::optional<ShownDialog> dialog = shownDialog(handle);
        const DialogResource& resource = *dialog->resource;
        const DialogUnits units = measureUnits(resource);
        kvor_page_show_dialog(number(handle), number(dialog->owner), resource.caption.c_str(), units.x(resource.width),
                              units.y(resource.height), (resource.style & WS_SYSMENU) ? 1 : 0);
        for (HWND controlHandle : dialog->controls) {
            const std::optional<ShownControl> control = shownControl(controlHandle);
            const DialogItemResource& item = *control->resource;
            // A combo box's height includes its dropped list: the closed box keeps its own.
            const int height = item.className == "COMBOBOX" ? -1 : units.y(item.height);
            kvor_page_add_control(number(handle), number(controlHandle), kindOf(item), alignmentOf(item),
                                  units.x(item.x), units.y(item.y), units.x(item.width), height);
            update(controlHandle);
        }
    }

    void update(HWND handle) override {
        if (const std::optional<ShownControl> control = shownControl(handle))
            kvor_page_set_control(number(handle), control->text.c_str(), control->check == BST_CHECKED ? 1 : 0,
                                  itemLines(*control).c_str(), control->selection);
    }

    void hide(HWND handle) override { kvor_page_hide_dialog(number(handle)); }

    void close(HWND handle) override { kvor_page_close_dialog(number(handle)); }
};

}  // namespace

DialogView* windowSystemDialogView() {
    static PageDialogView view;
    openPage();
    return &view;
}

}  // namespace platform

// What the user does in the page's dialogs, called by its script.
extern "C" {

EMSCRIPTEN_KEEPALIVE void kvor_page_clicked(int handle) { platform::userClicked(platform::handleOf(handle)); }

EMSCRIPTEN_KEEPALIVE void kvor_page_toggled(int handle, int checked) {
    platform::userToggled(platform::handleOf(handle), checked != 0);
}

EMSCRIPTEN_KEEPALIVE void kvor_page_selected(int handle, int index) {
    platform::userSelected(platform::handleOf(handle), index);
}

// Escape in a dialog, and its title bar's close button (WM_CLOSE, which a
// dialog turns into Cancel).
EMSCRIPTEN_KEEPALIVE void kvor_page_escape(int dialog) {
    PostMessageA(platform::handleOf(dialog), WM_KEYDOWN, VK_ESCAPE, 0);
}

EMSCRIPTEN_KEEPALIVE void kvor_page_close(int dialog) { PostMessageA(platform::handleOf(dialog), WM_CLOSE, 0, 0); }
}
