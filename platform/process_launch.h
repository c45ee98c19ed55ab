#pragma once

#include <optional>
#include <string>
#include <vector>

// Starting another program and waiting for it to end.
struct LaunchResult {
    bool started = false;
    int error = 0;     // the system's error code when the start failed
    int exitCode = -1; // the program's exit code once it ended (-1 when killed by a signal)
};

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Runs program with the arguments (not counting the program itself),
    // inheriting no descriptors beyond the standard ones, and waits without
    // a time-out until it ends.
    virtual LaunchResult runAndWait(const std::string& program,
                                    const std::vector<std::string>& arguments) = 0;
};

// The launcher the process uses (the system's by default once installed by a program).
ProcessLauncher& processLauncher();
ProcessLauncher* setProcessLauncher(ProcessLauncher* launcher);

// Splits a command line the way a program's start-up code does: blanks
// separate arguments, double quotes group blanks and are removed.
std::vector<std::string> splitCommandLine(const std::string& line);
