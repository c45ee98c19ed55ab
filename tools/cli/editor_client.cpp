#include "tools/cli/editor_client.h"

#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/command_bus.h"
#include "platform/trace.h"

namespace {

std::string sessionBusAddress() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address != nullptr && *address != 0)
        return address;
    std::string folder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != 0)
        folder = runtime;
    else
        folder = "/run/user/" + std::to_string(::getuid());
    const std::string socket = folder + "/bus";
    struct stat info {};
    if (::stat(socket.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) return {};
    return "unix:path=" + socket;
}

GDBusConnection* connectToSessionBus() {
    const std::string address = sessionBusAddress();
    if (address.empty()) return nullptr;
    GError* error = nullptr;
    GDBusConnection* connection = g_dbus_connection_new_for_address_sync(
        address.c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &error);
    if (connection == nullptr) {
        tovanTrace("tovan-cli: no session bus at %s: %s\n", address.c_str(), error->message);
        g_error_free(error);
    }
    return connection;
}

// The process that owns the editor's name on the bus, or 0.
long editorProcess(GDBusConnection* connection) {
    GVariant* answer = g_dbus_connection_call_sync(
        connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "GetConnectionUnixProcessID", g_variant_new("(s)", tovan::bus::kEditorName), G_VARIANT_TYPE("(u)"),
        G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    if (answer == nullptr) return 0;
    guint32 pid = 0;
    g_variant_get(answer, "(u)", &pid);
    g_variant_unref(answer);
    return static_cast<long>(pid);
}

std::string bytesOf(GVariant* bytes) {
    gsize size = 0;
    const auto* data = static_cast<const char*>(g_variant_get_fixed_array(bytes, &size, 1));
    return std::string(data != nullptr ? data : "", size);
}

} // namespace

std::optional<EditorReply> runInEditor(const std::vector<std::string>& arguments,
                                       const std::string& pedalPath, long editorPid) {
    GDBusConnection* connection = connectToSessionBus();
    if (connection == nullptr) return std::nullopt;
    // The editor on this bus must be the one holding the pedal: an editor of
    // another session has other pedals.
    if (editorProcess(connection) != editorPid) {
        g_object_unref(connection);
        return std::nullopt;
    }
    GVariantBuilder words;
    g_variant_builder_init(&words, G_VARIANT_TYPE("as"));
    for (const std::string& argument : arguments)
        g_variant_builder_add(&words, "s", argument.c_str());
    GError* error = nullptr;
    // A backup takes as long as the pedal takes: no time-out of the bus's.
    GVariant* answer = g_dbus_connection_call_sync(
        connection, tovan::bus::kEditorName, tovan::bus::kEditorPath, tovan::bus::kCommandInterface,
        tovan::bus::kRunCommand, g_variant_new("(ass)", &words, pedalPath.c_str()), G_VARIANT_TYPE("(ayayi)"),
        G_DBUS_CALL_FLAGS_NO_AUTO_START, G_MAXINT, nullptr, &error);
    g_object_unref(connection);
    if (answer == nullptr) {
        tovanTrace("tovan-cli: the editor did not run the command: %s\n", error->message);
        g_error_free(error);
        return std::nullopt;
    }
    GVariant* output = nullptr;
    GVariant* errors = nullptr;
    EditorReply reply;
    g_variant_get(answer, "(@ay@ayi)", &output, &errors, &reply.status);
    reply.output = bytesOf(output);
    reply.errors = bytesOf(errors);
    g_variant_unref(output);
    g_variant_unref(errors);
    g_variant_unref(answer);
    return reply;
}
