#pragma once

// A tovan-pedal-sim process for tests: started with its options, waited for
// until it serves, signalled, stopped and reaped.

#include <chrono>
#include <csignal>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tovan::test {

class PedalSimProcess {
public:
    // Starts the simulator at `program` with the arguments.
    PedalSimProcess(const std::string& program, std::vector<std::string> arguments) {
        int out[2];
        if (::pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        arguments.insert(arguments.begin(), program);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        output_ = out[0];
    }
    ~PedalSimProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (output_ >= 0) ::close(output_);
    }

    // Waits for "ready" and the socket lines that follow it.
    std::vector<std::string> waitReady(size_t sockets) {
        std::string text;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd p{output_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) continue;
            char buffer[256];
            const ssize_t n = ::read(output_, buffer, sizeof buffer);
            if (n <= 0) break;
            text.append(buffer, static_cast<size_t>(n));
            std::vector<std::string> lines;
            std::istringstream in(text);
            for (std::string line; std::getline(in, line);)
                lines.push_back(line);
            if (!text.empty() && text.back() == '\n' && lines.size() == sockets + 1 && lines[0] == "ready")
                return {lines.begin() + 1, lines.end()};
        }
        return {};
    }

    void signal(int number) { ::kill(pid_, number); }

    int stop() {
        ::kill(pid_, SIGTERM);
        return wait();
    }

    int wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int output_ = -1;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Waits until the state file holds `needle` (it is written on SIGUSR1).
inline bool stateHolds(PedalSimProcess& process, const std::string& file, const std::string& needle) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        process.signal(SIGUSR1);
        for (int look = 0; look < 10; ++look) {
            if (readFile(file).find(needle) != std::string::npos) return true;
            ::usleep(2000);
        }
    }
    return false;
}

} // namespace tovan::test
