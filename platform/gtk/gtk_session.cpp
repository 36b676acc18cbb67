#include "platform/gtk/gtk_session.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <strings.h>

#include "platform/dialog_view.h"
#include "platform/win32/message_sources.h"

namespace platform {

namespace {

// GTK's events reach the thread's queue through the views' signal handlers;
// pumping only runs GLib's main context.
class GtkPump final : public MessageSource {
public:
    void pump(bool wait) override {
        if (wait) waitBriefly();
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
    }

private:
    static void waitBriefly() {
        GSource* timer = g_timeout_source_new(10);
        g_source_set_callback(timer, [](gpointer) -> gboolean { return G_SOURCE_REMOVE; }, nullptr, nullptr);
        g_source_attach(timer, nullptr);
        g_main_context_iteration(nullptr, TRUE);
        g_source_destroy(timer);
        g_source_unref(timer);
    }
};

enum class State { closed, open, unavailable };

State& state() {
    static State value = State::closed;
    return value;
}

}  // namespace

// The log's numbers stay in the C locale: GTK must not switch it.
bool openGtk() {
    if (state() == State::closed) {
        gtk_disable_setlocale();
        state() = gtk_init_check(nullptr, nullptr) ? State::open : State::unavailable;
        static GtkPump pump;
        if (state() == State::open) addMessageSource(&pump);
    }
    return state() == State::open;
}

bool gtkOpened() { return state() == State::open; }

bool windowSystemIsOpen() { return gtkOpened(); }

std::string dialogFontFamily() {
    PangoFontMap* fonts = pango_cairo_font_map_get_default();
    PangoFontFamily** families = nullptr;
    int count = 0;
    pango_font_map_list_families(fonts, &families, &count);
    bool found = std::any_of(families, families + count, [](PangoFontFamily* family) {
        return strcasecmp(pango_font_family_get_name(family), "MS Sans Serif") == 0;
    });
    g_free(families);
    return found ? "MS Sans Serif" : "Sans";
}

}  // namespace platform
