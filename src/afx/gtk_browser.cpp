// The folder browser on Linux: a GTK 3 folder dialog, built as the module
// libOrvikAfxGtk.so that OrvikAfx loads at run time (folder_browser.h), so
// that only a process that browses takes GTK in.
#include <gtk/gtk.h>

#include <mutex>
#include <new>
#include <string>
#include <thread>

#include "folder_browser.h"

namespace {

// GTK shows UTF-8 only; a host's texts are single bytes of any kind, and a
// status text may end inside a character.
struct DisplayText {
    explicit DisplayText(const char* text) : utf8(g_utf8_make_valid(text ? text : "", -1)) {}
    ~DisplayText() { g_free(utf8); }
    DisplayText(const DisplayText&) = delete;
    DisplayText& operator=(const DisplayText&) = delete;
    gchar* utf8;
};

// The Linux path of what the chooser selected, or null for an item
// without one (a remote location, nothing at all); g_free it.
gchar* PathOf(GtkFileChooser* chooser) {
    GFile* file = gtk_file_chooser_get_file(chooser);
    gchar* path = file != nullptr ? g_file_get_path(file) : nullptr;
    if (file != nullptr) {
        g_object_unref(file);
    }
    return path;
}

// The host's toplevel GtkWindow that `owner` stands for, or null. Only the
// process's own toplevels are taken, so a handle of any other kind (a stale
// one, another toolkit's) is never looked into.
GtkWindow* ToplevelFor(void* owner) {
    GtkWindow* found = nullptr;
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* node = toplevels; node != nullptr; node = node->next) {
        if (node->data == owner) {
            found = GTK_WINDOW(node->data);
        }
    }
    g_list_free(toplevels);
    return found;
}

GtkWidget* Line(const gchar* text) {
    GtkWidget* line = gtk_label_new(text);
    gtk_label_set_xalign(GTK_LABEL(line), 0.0F);
    gtk_widget_set_margin_start(line, 6);
    gtk_widget_set_margin_end(line, 6);
    return line;
}

// The chooser sizes itself from its font, or from the size that the user
// last gave it; on a small screen that can be more than the screen holds,
// with the buttons out of reach.
void FitOnScreen(GtkWindow* window) {
    GdkWindow* shown = gtk_widget_get_window(GTK_WIDGET(window));
    GdkMonitor* monitor =
        shown != nullptr ? gdk_display_get_monitor_at_window(gdk_window_get_display(shown), shown)
                         : nullptr;
    if (monitor == nullptr) {
        return;
    }
    GdkRectangle area;
    gdk_monitor_get_workarea(monitor, &area);
    int width = 0;
    int height = 0;
    gtk_window_get_size(window, &width, &height);
    if (width > area.width || height > area.height) {
        gtk_window_resize(window, MIN(width, area.width * 9 / 10),
                          MIN(height, area.height * 9 / 10));
        gtk_window_move(window, area.x + area.width / 20, area.y + area.height / 20);
    }
}

class GtkFolderBrowser final : public orvik::afx::FolderBrowser {
public:
    Outcome Browse(void* owner, const char* title, orvik::afx::FolderDialogListener* listener,
                   std::string& chosenPath) override;
    void Select(const char* linuxPath) override;
    void ShowStatus(const char* text) override;

private:
    struct Session {
        GtkFolderBrowser* browser;
        orvik::afx::FolderDialogListener* listener;
        GtkWidget* dialog;
        GtkWidget* status;  // null without a listener
        Session* outer;
    };

    static void OnSelectionChanged(GtkFileChooser* chooser, gpointer data);

    Session* m_session = nullptr;  // the innermost open dialog, which a listener acts on
};

void GtkFolderBrowser::OnSelectionChanged(GtkFileChooser* chooser, gpointer data) {
    const auto* session = static_cast<const Session*>(data);
    gchar* path = PathOf(chooser);
    session->listener->SelectionMoved(*session->browser, path);
    g_free(path);
}

GtkFolderBrowser::Outcome GtkFolderBrowser::Browse(void* owner, const char* title,
                                                   orvik::afx::FolderDialogListener* listener,
                                                   std::string& chosenPath) {
    const DisplayText shownTitle(title);
    GtkWidget* dialog = gtk_file_chooser_dialog_new(
        shownTitle.utf8, ToplevelFor(owner), GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, "_Cancel",
        GTK_RESPONSE_CANCEL, "_Select", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_file_chooser_set_create_folders(chooser, FALSE);
    // Remote locations have no file-system path to hand back.
    gtk_file_chooser_set_local_only(chooser, TRUE);

    // The title is the window's name and a line above the folders; the
    // status line goes below them.
    GtkBox* content = GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(dialog)));
    GtkWidget* heading = Line(shownTitle.utf8);
    gtk_box_pack_start(content, heading, FALSE, FALSE, 4);
    gtk_box_reorder_child(content, heading, 0);
    Session session{this, listener, dialog, nullptr, m_session};
    if (listener != nullptr) {
        session.status = Line("");
        gtk_box_pack_end(content, session.status, FALSE, FALSE, 4);
        g_signal_connect(dialog, "selection-changed", G_CALLBACK(OnSelectionChanged), &session);
    }
    m_session = &session;
    gtk_widget_show_all(dialog);
    FitOnScreen(GTK_WINDOW(dialog));
    if (listener != nullptr) {
        listener->Opened(*this);
    }

    Outcome outcome = Outcome::cancelled;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        gchar* path = PathOf(chooser);
        outcome = Outcome::noPath;
        try {
            if (path != nullptr) {
                chosenPath = path;
                outcome = Outcome::chosen;
            }
        } catch (const std::bad_alloc&) {
            outcome = Outcome::noPath;  // a choice that cannot be handed back
        }
        g_free(path);
    }
    m_session = session.outer;
    g_signal_handlers_disconnect_by_data(dialog, &session);
    gtk_widget_destroy(dialog);
    // Let the window go from the screen before the host goes on.
    while (gtk_events_pending()) {
        gtk_main_iteration();
    }
    return outcome;
}

void GtkFolderBrowser::Select(const char* linuxPath) {
    if (m_session != nullptr) {
        GFile* folder = g_file_new_for_path(linuxPath);
        gtk_file_chooser_select_file(GTK_FILE_CHOOSER(m_session->dialog), folder, nullptr);
        g_object_unref(folder);
    }
}

void GtkFolderBrowser::ShowStatus(const char* text) {
    if (m_session != nullptr && m_session->status != nullptr) {
        const DisplayText shown(text);
        gtk_label_set_text(GTK_LABEL(m_session->status), shown.utf8);
    }
}

// Opens the display once. GTK must not change the host's locale, unless the
// host runs GTK itself and has already made that choice.
bool OpenDisplay() {
    static bool localeLeftAlone = false;
    if (!localeLeftAlone && gdk_display_get_default() == nullptr) {
        gtk_disable_setlocale();
        localeLeftAlone = true;
    }
    return gtk_init_check(nullptr, nullptr) != FALSE;
}

}  // namespace

// The module's one entry: the browser, or null with the reason when no
// display can be opened or when asked from another thread than the one GTK
// runs on.
extern "C" __attribute__((visibility("default"))) orvik::afx::FolderBrowser* OrvikFolderBrowser1(
    const char** why) {
    static std::mutex guard;
    static bool open = false;
    static std::thread::id gtkThread;
    static GtkFolderBrowser browser;
    const std::lock_guard<std::mutex> lock(guard);
    if (!open) {
        if (!OpenDisplay()) {
            *why = "GTK opened no display (is DISPLAY or WAYLAND_DISPLAY set?)";
            return nullptr;
        }
        open = true;
        gtkThread = std::this_thread::get_id();
    }
    if (std::this_thread::get_id() != gtkThread) {
        *why = "the dialog runs only on the thread that first showed it";
        return nullptr;
    }
    return &browser;
}
