#include "platform/gtk/gtk_application.h"

#include <gtk/gtk.h>

#include <cstdio>

#include "platform/command_bus.h"
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

GVariant* bytesVariant(const std::string& bytes) {
    return g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, bytes.data(), bytes.size(), 1);
}

void onMethodCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                  GVariant* parameters, GDBusMethodInvocation* invocation, gpointer data) {
    auto& hooks = *static_cast<GtkApplicationHooks*>(data);
    if (g_strcmp0(method, tovan::bus::kRunCommand) != 0 || !hooks.runCommand) {
        g_dbus_method_invocation_return_error(invocation, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_METHOD,
                                              "no such method");
        return;
    }
    GVariantIter* words = nullptr;
    const gchar* pedal = nullptr;
    g_variant_get(parameters, "(as&s)", &words, &pedal);
    std::vector<std::string> arguments;
    const gchar* word = nullptr;
    while (g_variant_iter_next(words, "&s", &word))
        arguments.emplace_back(word);
    g_variant_iter_free(words);
    g_object_ref(invocation);
    hooks.runCommand(std::move(arguments), pedal, [invocation](CommandReply reply) {
        g_dbus_method_invocation_return_value(
            invocation, g_variant_new("(@ay@ayi)", bytesVariant(reply.output), bytesVariant(reply.errors),
                                      static_cast<gint32>(reply.status)));
        g_object_unref(invocation);
    });
}

// tovan-cli's way in: registered on the application's own bus connection, so
// it exists exactly while this instance owns the application's name.
void serveCommands(GApplication* app, GtkApplicationHooks& hooks) {
    GDBusConnection* connection = g_application_get_dbus_connection(app);
    const gchar* path = g_application_get_dbus_object_path(app);
    if (connection == nullptr || path == nullptr) return;
    GError* error = nullptr;
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(tovan::bus::kCommandIntrospection, &error);
    if (node == nullptr) {
        std::fprintf(stderr, "tovan: %s\n", error->message);
        g_error_free(error);
        return;
    }
    static const GDBusInterfaceVTable vtable{onMethodCall, nullptr, nullptr, {}};
    if (g_dbus_connection_register_object(connection, path, node->interfaces[0], &vtable, &hooks, nullptr,
                                          &error) == 0) {
        std::fprintf(stderr, "tovan: tovan-cli cannot reach this editor: %s\n", error->message);
        g_error_free(error);
    }
    g_dbus_node_info_unref(node);
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
    if (!remote) serveCommands(G_APPLICATION(app), hooks);
    const int status = g_application_run(G_APPLICATION(app), argc, argv);
    running = nullptr;
    g_object_unref(app);
    if (remote) std::fprintf(stderr, "tovan: the editor is open already: handed over to it\n");
    return remote ? 1 : status;
}

void adoptWindow(GtkMainWindow& window) {
    if (running != nullptr) gtk_application_add_window(running, GTK_WINDOW(window.nativeWindow()));
}
