// The dialogs shown with GTK 3: a fixed layout at the template's positions,
// converted from dialog units the way Windows converts them, and user input
// posted back to the thread's queue as the messages Windows would send.

#include <gtk/gtk.h>

#include <map>

#include "platform/dialog_view.h"
#include "platform/gtk/gtk_session.h"

namespace platform {

namespace {

HWND handleOf(gpointer data) { return static_cast<HWND>(data); }

// The template's font, and sizes that let controls be as small as Windows
// draws them, for every window of the program; applied once, with the first
// template's font size (the program's dialogs all use the same).
void styleDialogs(GtkWidget* window, const DialogResource& resource) {
    static bool styled = false;
    if (styled) return;
    styled = true;
    const std::string css = "* { font-family: \"" + dialogFontFamily() + "\"; font-size: " +
                            std::to_string(resource.fontSize ? resource.fontSize : 8) +
                            "pt; }\n"
                            "button { padding: 0 4px; min-height: 0; min-width: 0; }\n"
                            "combobox button { padding: 0 4px; }\n"
                            "checkbutton { padding: 0; }\n"
                            "frame > border { border-radius: 0; }\n";
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
    gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(window), GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

DialogUnits measureUnits(GtkWidget* window, const DialogResource& resource) {
    PangoContext* context = gtk_widget_get_pango_context(window);
    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family(font, dialogFontFamily().c_str());
    pango_font_description_set_size(font, (resource.fontSize ? resource.fontSize : 8) * PANGO_SCALE);
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, font);
    pango_layout_set_text(layout, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", -1);
    int lettersWidth = 0;
    pango_layout_get_pixel_size(layout, &lettersWidth, nullptr);
    PangoFontMetrics* metrics = pango_context_get_metrics(context, font, nullptr);
    int height = PANGO_PIXELS_CEIL(pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics));
    pango_font_metrics_unref(metrics);
    g_object_unref(layout);
    pango_font_description_free(font);
    return baseUnits(lettersWidth, height);
}

class GtkDialogView final : public DialogView {
public:
    void show(HWND dialog) override;
    void update(HWND control) override;
    void hide(HWND dialog) override;
    void close(HWND dialog) override;
    GtkWidget* windowOf(HWND dialog) const;

private:
    GtkWidget* makeWidget(const ShownControl& control);
    GtkWidget* makeButton(const ShownControl& control);
    GtkWidget* makeCombo(const ShownControl& control);
    GtkWidget* makeStatic(const ShownControl& control);
    void refresh(GtkWidget* widget, const ShownControl& control);

    static void clicked(GtkButton*, gpointer data);
    static void toggled(GtkToggleButton* button, gpointer data);
    static void changed(GtkComboBox* combo, gpointer data);
    static void realized(GtkWidget* window, gpointer data);
    static gboolean deleted(GtkWidget*, GdkEvent*, gpointer data);
    static gboolean keyPressed(GtkWidget*, GdkEventKey* event, gpointer data);

    std::map<HWND, GtkWidget*> windows;
    std::map<HWND, GtkWidget*> widgets;  // by control
    bool refreshing = false;             // model changes are not user input
};

GtkDialogView& view() {
    static GtkDialogView instance;
    return instance;
}

void GtkDialogView::show(HWND handle) {
    const std::optional<ShownDialog> dialog = shownDialog(handle);
    const DialogResource& resource = *dialog->resource;
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    windows[handle] = window;
    styleDialogs(window, resource);
    gtk_window_set_title(GTK_WINDOW(window), resource.caption.c_str());
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_deletable(GTK_WINDOW(window), (resource.style & WS_SYSMENU) ? TRUE : FALSE);
    gtk_window_set_modal(GTK_WINDOW(window), TRUE);
    GtkWidget* owner = windowOf(dialog->owner);
    if (owner != nullptr) gtk_window_set_transient_for(GTK_WINDOW(window), GTK_WINDOW(owner));
    bool centred = (resource.style & DS_CENTER) || owner == nullptr;
    gtk_window_set_position(GTK_WINDOW(window), owner ? GTK_WIN_POS_CENTER_ON_PARENT
                                                      : (centred ? GTK_WIN_POS_CENTER : GTK_WIN_POS_NONE));
    DialogUnits units = measureUnits(window, resource);
    GtkWidget* layout = gtk_fixed_new();
    gtk_widget_set_size_request(layout, units.x(resource.width), units.y(resource.height));
    gtk_container_add(GTK_CONTAINER(window), layout);
    for (HWND controlHandle : dialog->controls) {
        const std::optional<ShownControl> control = shownControl(controlHandle);
        GtkWidget* widget = makeWidget(*control);
        const DialogItemResource& item = *control->resource;
        // A combo box's height includes its dropped list: the closed box keeps its own.
        int height = item.className == "COMBOBOX" ? -1 : units.y(item.height);
        gtk_widget_set_size_request(widget, units.x(item.width), height);
        gtk_fixed_put(GTK_FIXED(layout), widget, units.x(item.x), units.y(item.y));
        widgets[controlHandle] = widget;
        refresh(widget, *control);
    }
    g_signal_connect(window, "realize", G_CALLBACK(realized), const_cast<DialogResource*>(&resource));
    g_signal_connect(window, "delete-event", G_CALLBACK(deleted), handle);
    g_signal_connect(window, "key-press-event", G_CALLBACK(keyPressed), handle);
    gtk_widget_show_all(window);
}

GtkWidget* GtkDialogView::makeWidget(const ShownControl& control) {
    const std::string& className = control.resource->className;
    if (className == "BUTTON") return makeButton(control);
    if (className == "COMBOBOX") return makeCombo(control);
    return makeStatic(control);
}

GtkWidget* GtkDialogView::makeButton(const ShownControl& control) {
    DWORD type = control.resource->style & BS_TYPEMASK;
    if (type == BS_GROUPBOX) return gtk_frame_new(control.text.c_str());
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX) {
        GtkWidget* box = gtk_check_button_new_with_label(control.text.c_str());
        g_signal_connect(box, "toggled", G_CALLBACK(toggled), control.handle);
        return box;
    }
    GtkWidget* button = gtk_button_new_with_label(control.text.c_str());
    g_signal_connect(button, "clicked", G_CALLBACK(clicked), control.handle);
    return button;
}

GtkWidget* GtkDialogView::makeCombo(const ShownControl& control) {
    GtkWidget* combo = gtk_combo_box_text_new();
    g_signal_connect(combo, "changed", G_CALLBACK(changed), control.handle);
    return combo;
}

GtkWidget* GtkDialogView::makeStatic(const ShownControl& control) {
    GtkWidget* label = gtk_label_new(control.text.c_str());
    DWORD type = control.resource->style & SS_TYPEMASK;
    gtk_label_set_xalign(GTK_LABEL(label), type == SS_CENTER ? 0.5f : type == SS_RIGHT ? 1.0f : 0.0f);
    gtk_label_set_yalign(GTK_LABEL(label), 0.0f);
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    return label;
}

void GtkDialogView::refresh(GtkWidget* widget, const ShownControl& control) {
    refreshing = true;
    if (GTK_IS_COMBO_BOX_TEXT(widget)) {
        gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(widget));
        for (const std::string& item : control.items)
            gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(widget), item.c_str());
        gtk_combo_box_set_active(GTK_COMBO_BOX(widget), control.selection);
    } else if (GTK_IS_CHECK_BUTTON(widget)) {
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget), control.check == BST_CHECKED);
        gtk_button_set_label(GTK_BUTTON(widget), control.text.c_str());
    } else if (GTK_IS_BUTTON(widget)) {
        gtk_button_set_label(GTK_BUTTON(widget), control.text.c_str());
    } else if (GTK_IS_FRAME(widget)) {
        gtk_frame_set_label(GTK_FRAME(widget), control.text.c_str());
    } else if (GTK_IS_LABEL(widget)) {
        gtk_label_set_text(GTK_LABEL(widget), control.text.c_str());
    }
    refreshing = false;
}

void GtkDialogView::update(HWND handle) {
    auto widget = widgets.find(handle);
    if (const std::optional<ShownControl> control = shownControl(handle); control && widget != widgets.end())
        refresh(widget->second, *control);
}

void GtkDialogView::hide(HWND dialog) {
    if (GtkWidget* window = windowOf(dialog)) gtk_widget_hide(window);
}

void GtkDialogView::close(HWND handle) {
    auto window = windows.find(handle);
    if (window == windows.end()) return;
    if (const std::optional<ShownDialog> dialog = shownDialog(handle))
        for (HWND control : dialog->controls) widgets.erase(control);
    gtk_widget_destroy(window->second);
    windows.erase(window);
}

GtkWidget* GtkDialogView::windowOf(HWND dialog) const {
    auto window = windows.find(dialog);
    return window == windows.end() ? nullptr : window->second;
}

// Model changes are not user input.
void GtkDialogView::clicked(GtkButton*, gpointer data) {
    if (!view().refreshing) userClicked(handleOf(data));
}

void GtkDialogView::toggled(GtkToggleButton* button, gpointer data) {
    if (!view().refreshing) userToggled(handleOf(data), gtk_toggle_button_get_active(button));
}

void GtkDialogView::changed(GtkComboBox* combo, gpointer data) {
    if (!view().refreshing) userSelected(handleOf(data), gtk_combo_box_get_active(combo));
}

// A modal frame: a title and a border, moved but never resized; the close
// button only with a system menu.
void GtkDialogView::realized(GtkWidget* window, gpointer data) {
    const auto* resource = static_cast<const DialogResource*>(data);
    bool systemMenu = (resource->style & WS_SYSMENU) != 0;
    GdkWindow* frame = gtk_widget_get_window(window);
    gdk_window_set_decorations(frame, GdkWMDecoration(GDK_DECOR_BORDER | GDK_DECOR_TITLE));
    gdk_window_set_functions(frame, GdkWMFunction(GDK_FUNC_MOVE | (systemMenu ? GDK_FUNC_CLOSE : 0)));
}

// The window manager's close button is WM_CLOSE, which a dialog turns into Cancel.
gboolean GtkDialogView::deleted(GtkWidget*, GdkEvent*, gpointer data) {
    PostMessageA(handleOf(data), WM_CLOSE, 0, 0);
    return TRUE;
}

gboolean GtkDialogView::keyPressed(GtkWidget*, GdkEventKey* event, gpointer data) {
    if (event->keyval != GDK_KEY_Escape) return FALSE;
    PostMessageA(handleOf(data), WM_KEYDOWN, VK_ESCAPE, 0);
    return TRUE;
}

}  // namespace

DialogView* windowSystemDialogView() { return openGtk() ? &view() : nullptr; }

GtkWidget* gtkWindowOf(HWND dialog) { return gtkOpened() ? view().windowOf(dialog) : nullptr; }

}  // namespace platform
