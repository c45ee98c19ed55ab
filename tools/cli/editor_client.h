#pragma once

#include <optional>
#include <string>
#include <vector>

// tovan-cli's side of the editor's command interface on the session bus.
struct EditorReply {
    std::string output;
    std::string errors;
    int status = 0;
};

// Runs tovan-cli's `arguments` (without the program name) in the editor whose
// process is `editorPid`, on the pedal at `pedalPath`, and waits for it.
// Nothing when no editor of that process answers on this user's session bus.
// Without DBUS_SESSION_BUS_ADDRESS (a cron job) the bus is looked for at
// $XDG_RUNTIME_DIR/bus, then /run/user/<uid>/bus, as GDBus does.
std::optional<EditorReply> runInEditor(const std::vector<std::string>& arguments,
                                       const std::string& pedalPath, long editorPid);
