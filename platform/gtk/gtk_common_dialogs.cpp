// The message box and the file chooser shown with GTK 3.

#include <gtk/gtk.h>

#include "platform/dialog_view.h"
#include "platform/gtk/gtk_session.h"
#include "platform/win32/file_filters.h"

namespace platform {

namespace {

constexpr UINT iconMask = 0xF0;

GtkMessageType messageType(UINT type) {
    switch (type & iconMask) {
        case MB_ICONERROR: return GTK_MESSAGE_ERROR;
        case 0x30: return GTK_MESSAGE_WARNING;   // MB_ICONWARNING
        case 0x20: return GTK_MESSAGE_QUESTION;  // MB_ICONQUESTION
        case 0x40: return GTK_MESSAGE_INFO;      // MB_ICONINFORMATION
        default: return GTK_MESSAGE_OTHER;
    }
}

// Lets the windows the dialog leaves behind disappear from the screen.
void settle() {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
}

void addFilters(GtkFileChooser* chooser, const OPENFILENAMEA& request) {
    DWORD index = 1;
    for (const FileFilter& each : fileFilters(request.lpstrFilter)) {
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_set_name(filter, each.label.c_str());
        for (const std::string& pattern : each.patterns) gtk_file_filter_add_pattern(filter, pattern.c_str());
        gtk_file_chooser_add_filter(chooser, filter);
        if (index++ == request.nFilterIndex) gtk_file_chooser_set_filter(chooser, filter);
    }
}

void setInitialFolder(GtkFileChooser* chooser, const OPENFILENAMEA& request) {
    if (request.lpstrInitialDir == nullptr || *request.lpstrInitialDir == '\0') return;
    std::string folder = request.lpstrInitialDir;
    for (char& c : folder)
        if (c == '\\') c = '/';
    gtk_file_chooser_set_current_folder(chooser, folder.c_str());
}

}  // namespace

int windowSystemMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    GtkWidget* parent = gtkWindowOf(owner);
    GtkWidget* box = gtk_message_dialog_new(parent ? GTK_WINDOW(parent) : nullptr, GTK_DIALOG_MODAL, messageType(type),
                                            GTK_BUTTONS_OK, "%s", text);
    gtk_window_set_title(GTK_WINDOW(box), caption);
    gtk_window_set_position(GTK_WINDOW(box), parent ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
    gtk_window_set_keep_above(GTK_WINDOW(box), TRUE);
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    settle();
    return IDOK;
}

// OFN_FILEMUSTEXIST is the chooser's own rule in its open mode.
std::optional<std::string> windowSystemChooseFile(const OPENFILENAMEA& request) {
    GtkWidget* parent = gtkWindowOf(request.hwndOwner);
    GtkWidget* dialog = gtk_file_chooser_dialog_new(
        request.lpstrTitle ? request.lpstrTitle : "Open", parent ? GTK_WINDOW(parent) : nullptr,
        GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel", GTK_RESPONSE_CANCEL, "_Open", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    addFilters(chooser, request);
    setInitialFolder(chooser, request);
    std::optional<std::string> chosen;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        gchar* path = gtk_file_chooser_get_filename(chooser);
        if (path != nullptr) chosen = path;
        g_free(path);
    }
    gtk_widget_destroy(dialog);
    settle();
    return chosen;
}

}  // namespace platform
