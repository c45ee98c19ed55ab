#pragma once

#include "platform/process_launch.h"

// Starts programs with posix_spawn and waits for them with waitpid.
class SystemLauncher : public ProcessLauncher {
public:
    LaunchResult runAndWait(const std::string& program, const std::vector<std::string>& arguments) override;
};
