// tovan-drag-source FILE [X Y]: a small undecorated window that offers FILE as
// a text/uri-list drag, as a file manager does. The end-to-end tests press on
// it with xdotool and drop the file on the editor window: xdotool cannot be an
// XDND source itself. Prints "ready" once the window is mapped, "dropped" or
// "cancelled" when the drag ends.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string uri;

void onDataGet(GtkWidget*, GdkDragContext*, GtkSelectionData* selection, guint, guint, gpointer) {
    gchar* uris[] = {const_cast<gchar*>(uri.c_str()), nullptr};
    gtk_selection_data_set_uris(selection, uris);
}

void onDragEnd(GtkWidget*, GdkDragContext*, gpointer) {
    std::printf("dropped\n");
    std::fflush(stdout);
}

gboolean onDragFailed(GtkWidget*, GdkDragContext*, GtkDragResult result, gpointer) {
    std::printf("cancelled %d\n", static_cast<int>(result));
    std::fflush(stdout);
    // Handled here: no snap-back animation that would keep the pointer grabbed.
    return TRUE;
}

gboolean onMapped(GtkWidget*, GdkEvent*, gpointer) {
    std::printf("ready\n");
    std::fflush(stdout);
    return FALSE;
}

} // namespace

int main(int argc, char** argv) {
    gdk_set_allowed_backends("x11");
    gtk_init(&argc, &argv);
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: tovan-drag-source FILE [X Y]\n");
        return 2;
    }
    GError* error = nullptr;
    gchar* converted = g_filename_to_uri(argv[1], nullptr, &error);
    if (converted == nullptr) {
        std::fprintf(stderr, "tovan-drag-source: %s\n", error->message);
        g_error_free(error);
        return 2;
    }
    uri = converted;
    g_free(converted);

    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "tovan-drag-source");
    gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
    gtk_window_set_default_size(GTK_WINDOW(window), 120, 80);
    if (argc == 4) gtk_window_move(GTK_WINDOW(window), std::atoi(argv[2]), std::atoi(argv[3]));
    GtkWidget* box = gtk_event_box_new();
    gtk_container_add(GTK_CONTAINER(box), gtk_label_new("preset file"));
    gtk_container_add(GTK_CONTAINER(window), box);

    GtkTargetEntry target{const_cast<gchar*>("text/uri-list"), 0, 0};
    gtk_drag_source_set(box, GDK_BUTTON1_MASK, &target, 1, GDK_ACTION_COPY);
    g_signal_connect(box, "drag-data-get", G_CALLBACK(onDataGet), nullptr);
    g_signal_connect(box, "drag-end", G_CALLBACK(onDragEnd), nullptr);
    g_signal_connect(box, "drag-failed", G_CALLBACK(onDragFailed), nullptr);
    g_signal_connect(window, "map-event", G_CALLBACK(onMapped), nullptr);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
