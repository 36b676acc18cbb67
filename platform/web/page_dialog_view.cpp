// The dialogs shown as HTML controls in the page: each control placed at its
// template's position, converted from dialog units the way Windows converts
// them with the page's dialog font, and the user's input posted back to the
// thread's queue as the messages Windows would send. The page's script
// (site/page.js) draws them; this file tells it what to draw.

#include <emscripten.h>

#include <string>

#include "platform/dialog_view.h"
#include "platform/web/page_session.h"

namespace platform {

namespace {

// The bodies are JavaScript, which the formatter would mangle.
// clang-format off
// The width of "A...Za...z" and the line height, in CSS pixels, of the dialog
// font at size points: two numbers packed in one (width × 65536 + height).
EM_JS(int, measureDialogFont, (int size), { return Module.kvorPage.measureDialogFont(size); });

EM_JS(void, pageShowDialog, (int handle, int owner, const char* caption, int width, int height, int closable), {
    Module.kvorPage.showDialog(handle, owner, UTF8ToString(caption), width, height, closable != 0);
});

EM_JS(void, pageAddControl,
      (int dialog, int handle, const char* kind, int align, int x, int y, int width, int height), {
          Module.kvorPage.addControl(dialog, handle, UTF8ToString(kind), align, x, y, width, height);
      });

EM_JS(void, pageSetControl, (int handle, const char* text, int checked, const char* items, int selection), {
    Module.kvorPage.setControl(handle, UTF8ToString(text), checked != 0, UTF8ToString(items), selection);
});

EM_JS(void, pageHideDialog, (int handle), { Module.kvorPage.hideDialog(handle); });

EM_JS(void, pageCloseDialog, (int handle), { Module.kvorPage.closeDialog(handle); });
// clang-format on

int number(HWND handle) { return static_cast<int>(reinterpret_cast<intptr_t>(handle)); }

HWND handleOf(int number) { return reinterpret_cast<HWND>(static_cast<intptr_t>(number)); }

DialogUnits measureUnits(const DialogResource& resource) {
    const int measured = measureDialogFont(resource.fontSize ? resource.fontSize : 8);
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
        pageShowDialog(number(handle), number(dialog->owner), resource.caption.c_str(), units.x(resource.width),
                       units.y(resource.height), (resource.style & WS_SYSMENU) ? 1 : 0);
        for (HWND controlHandle : dialog->controls) {
            const std::optional<ShownControl> control = shownControl(controlHandle);
            const DialogItemResource& item = *control->resource;
            // A combo box's height includes its dropped list: the closed box keeps its own.
            const int height = item.className == "COMBOBOX" ? -1 : units.y(item.height);
            pageAddControl(number(handle), number(controlHandle), kindOf(item), alignmentOf(item), units.x(item.x),
                           units.y(item.y), units.x(item.width), height);
            update(controlHandle);
        }
    }

    void update(HWND handle) override {
        if (const std::optional<ShownControl> control = shownControl(handle))
            pageSetControl(number(handle), control->text.c_str(), control->check == BST_CHECKED ? 1 : 0,
                           itemLines(*control).c_str(), control->selection);
    }

    void hide(HWND handle) override { pageHideDialog(number(handle)); }

    void close(HWND handle) override { pageCloseDialog(number(handle)); }
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

EMSCRIPTEN_KEEPALIVE void kvorPageClicked(int handle) { platform::userClicked(platform::handleOf(handle)); }

EMSCRIPTEN_KEEPALIVE void kvorPageToggled(int handle, int checked) {
    platform::userToggled(platform::handleOf(handle), checked != 0);
}

EMSCRIPTEN_KEEPALIVE void kvorPageSelected(int handle, int index) {
    platform::userSelected(platform::handleOf(handle), index);
}

// Escape in a dialog, and its title bar's close button (WM_CLOSE, which a
// dialog turns into Cancel).
EMSCRIPTEN_KEEPALIVE void kvorPageEscape(int dialog) {
    PostMessageA(platform::handleOf(dialog), WM_KEYDOWN, VK_ESCAPE, 0);
}

EMSCRIPTEN_KEEPALIVE void kvorPageClose(int dialog) { PostMessageA(platform::handleOf(dialog), WM_CLOSE, 0, 0); }
}
