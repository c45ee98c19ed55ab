#include "platform/gtk/gtk_application.h"

#include <gtk/gtk.h>

#include <cstdio>

#include "platform/gtk/gtk_main_window.h"

namespace {

GtkApplication* running = nullptr;
bool started = false;

bool ensureStarted(GtkApplicationHooks& hooks) {
    if (started) return true;
    started = hooks.start && hooks.start();
    return started;
}

void onActivate(GApplication*, gpointer data) {
    auto& hooks = *static_cast<GtkApplicationHooks*>(data);
    const bool first = !started;
    if (!ensureStarted(hooks)) return;
    if (!first && hooks.raise) hooks.raise();
}

void onOpen(GApplication*, GFile** files, gint count, const gchar*, gpointer data) {
    auto& hooks = *static_cast<GtkApplicationHooks*>(data);
    const bool first = !started;
    if (!ensureStarted(hooks)) return;
    if (!first && hooks.raise) hooks.raise();
    std::vector<std::string> paths;
    for (gint i = 0; i < count; ++i)
        if (gchar* path = g_file_get_path(files[i])) {
            paths.emplace_back(path);
            g_free(path);
        }
    if (hooks.open && !paths.empty()) hooks.open(paths);
}

} // namespace

void prepareGtk(const char* programName) {
    g_set_prgname(programName);
    gdk_set_allowed_backends("x11");
}

int runGtkApplication(const char* applicationId, int argc, char** argv, GtkApplicationHooks& hooks) {
    GtkApplication* app = gtk_application_new(applicationId, G_APPLICATION_HANDLES_OPEN);
    running = app;
    g_signal_connect(app, "activate", G_CALLBACK(onActivate), &hooks);
    g_signal_connect(app, "open", G_CALLBACK(onOpen), &hooks);
    // The window draws with cairo into image surfaces and never uses OpenGL, but
    // GDK probes GLX when it opens the display to choose its visuals: that loads
    // Mesa and its LLVM (some 50 MB resident and a tenth of a second). GDK reads
    // GDK_GL while GTK starts, which registering does; programs started later
    // get the environment as it was.
    const bool glLeftOn = g_getenv("GDK_GL") == nullptr;
    if (glLeftOn) g_setenv("GDK_GL", "disable", TRUE);
    GError* error = nullptr;
    const bool registered = g_application_register(G_APPLICATION(app), nullptr, &error);
    if (glLeftOn) g_unsetenv("GDK_GL");
    if (!registered) {
        std::fprintf(stderr, "tovan: %s\n", error != nullptr ? error->message : "cannot start");
        if (error != nullptr) g_error_free(error);
        g_object_unref(app);
        return 1;
    }
    if (g_application_get_dbus_connection(G_APPLICATION(app)) == nullptr)
        std::fprintf(stderr, "tovan: no session bus: a second start will open a second window\n");
    // Asked before running: afterwards the answer is no longer available.
    const bool remote = g_application_get_is_remote(G_APPLICATION(app));
    const int status = g_application_run(G_APPLICATION(app), argc, argv);
    running = nullptr;
    g_object_unref(app);
    return remote ? 1 : status;
}

void adoptWindow(GtkMainWindow& window) {
    if (running != nullptr) gtk_application_add_window(running, GTK_WINDOW(window.nativeWindow()));
}
