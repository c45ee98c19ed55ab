#include "platform/process_launch.h"

#include "platform/installed_service.h"

namespace {

// Until a program installs the system launcher nothing can be started.
class NoLauncher : public ProcessLauncher {
public:
    LaunchResult runAndWait(const std::string&, const std::vector<std::string>&) override { return {}; }
};

InstalledService<ProcessLauncher> installed;

} // namespace

ProcessLauncher& processLauncher() {
    static NoLauncher none;
    return installed.get(none);
}

ProcessLauncher* setProcessLauncher(ProcessLauncher* launcher) {
    return installed.replace(launcher);
}

std::vector<std::string> splitCommandLine(const std::string& line) {
    std::vector<std::string> arguments;
    std::string current;
    bool inQuotes = false;
    bool hasArgument = false;
    for (char c : line) {
        if (c == '"') {
            inQuotes = !inQuotes;
            hasArgument = true;
        } else if ((c == ' ' || c == '\t') && !inQuotes) {
            if (hasArgument) arguments.push_back(current);
            current.clear();
            hasArgument = false;
        } else {
            current += c;
            hasArgument = true;
        }
    }
    if (hasArgument) arguments.push_back(current);
    return arguments;
}
