#pragma once

#include <functional>
#include <string>
#include <vector>

class GtkMainWindow;

// The program on GTK: X11 only (a Wayland session runs it through XWayland,
// since keep-above, window moves, pointer warps and shaped windows need X11),
// one instance a user session through D-Bus, files handed over from the file
// manager or a second start.
// What a command run for tovan-cli came to: its output, errors and exit status.
struct CommandReply {
    std::string output;
    std::string errors;
    int status = 1;
};

struct GtkApplicationHooks {
    // The first instance starts: make the main window (false: nothing to run).
    std::function<bool()> start;
    // Another start, or the desktop, asked for the window.
    std::function<void()> raise;
    // Files to open (from the command line of this or a later start).
    std::function<void(const std::vector<std::string>&)> open;
    // tovan-cli hands over a command (its arguments) for the pedal at a path;
    // the receiver calls `reply` once, now or later.
    std::function<void(std::vector<std::string> arguments, std::string pedalPath,
                       std::function<void(CommandReply)> reply)>
        runCommand;
};

// Call before anything else of GTK: the program's name (the window class) and
// the X11 back end.
void prepareGtk(const char* programName);
// Runs the application; answers the exit status: 1 when another instance was
// running and took over, else what the main loop ended with.
int runGtkApplication(const char* applicationId, int argc, char** argv, GtkApplicationHooks& hooks);
// Keeps the application running while the window exists.
void adoptWindow(GtkMainWindow& window);
