// The virtual bus against a real tovan-pedal-sim process: scan, exchanges,
// the state file, hot-plug notices and unplugging by stopping the process.

#include "link/hid_device.h"
#include "platform/hid/virtual/virtual_backend.h"
#include "tests/platform/temp_folder.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <csignal>
#include <fstream>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tovan {
namespace {

using std::chrono::milliseconds;

class PedalSimProcess {
public:
    explicit PedalSimProcess(std::vector<std::string> arguments) {
        int out[2];
        if (::pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        arguments.insert(arguments.begin(), TOVAN_PEDAL_SIM_PATH);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, TOVAN_PEDAL_SIM_PATH, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
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

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Waits until the state file holds `needle` (it is written on SIGUSR1).
bool stateHolds(PedalSimProcess& process, const std::string& file, const std::string& needle) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        process.signal(SIGUSR1);
        for (int look = 0; look < 10; ++look) {
            if (readFile(file).find(needle) != std::string::npos) return true;
            ::usleep(2000);
        }
    }
    return false;
}

std::string exchangeName(CHidDevice& device) {
    proto::Payload answer{};
    const auto header = proto::encodeHeader({proto::kRequest, proto::kGroupDevice, proto::device::kName, {}});
    if (!writeReport(device, header) || !readReport(device, answer)) return "<failed>";
    return std::string(reinterpret_cast<const char*>(answer.data()),
                       strnlen(reinterpret_cast<const char*>(answer.data()), 16));
}

struct ChangeCounter {
    std::mutex mutex;
    std::condition_variable changed;
    int count = 0;

    void notify() {
        std::lock_guard lock(mutex);
        ++count;
        changed.notify_all();
    }
    bool waitFor(int atLeast) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return count >= atLeast; });
    }
};

TEST(PedalSimProcess, ServesScansAndUnplugsWhenStopped) {
    test::TempFolder folder;
    const std::string state = folder.path() + "/state.json";
    const std::string bus = folder.path() + "/bus";
    VirtualHidBackend backend(bus);
    ChangeCounter changes;
    auto monitor = backend.watch([&] { changes.notify(); });
    ASSERT_NE(monitor, nullptr);

    PedalSimProcess process(
        {"--dir", bus, "--count", "2", "--name", "Rig", "--firmware", "1.6.3", "--state-file", state});
    const auto sockets = process.waitReady(2);
    ASSERT_EQ(sockets.size(), 2u);
    EXPECT_NE(sockets[0].find("vid_231c&pid_0002"), std::string::npos);
    // Two sockets created close together come as one notice.
    ASSERT_TRUE(changes.waitFor(1));

    CHidDevice current;
    std::vector<CHidDevice> attached;
    ASSERT_EQ(scanDevices(backend, pedalPattern(), current, attached), 1);
    ASSERT_EQ(attached.size(), 2u);
    EXPECT_EQ(current.path(), "virtual:" + sockets[0]);
    EXPECT_EQ(exchangeName(current), "Rig 1");
    EXPECT_EQ(exchangeName(attached[1]), "Rig 2");

    proto::Payload answer{};
    ASSERT_TRUE(writeReport(
        current, proto::encodeHeader({proto::kRequest, proto::kGroupDevice, proto::device::kVersions, {}})));
    ASSERT_TRUE(readReport(current, answer));
    EXPECT_EQ(answer[1], 6);
    EXPECT_EQ(answer[2], 3);

    // What the editor writes reaches the pedal's state.
    ASSERT_TRUE(writeReport(
        current, proto::encodeHeader({proto::kWrite, proto::kGroupPreset, proto::preset::kActive, {}})));
    ASSERT_TRUE(writeReport(current, proto::Payload{0x80 + 7}));
    EXPECT_TRUE(stateHolds(process, state, "\"active_preset\":107"));

    // Stopping the process unplugs both pedals.
    const int seen = changes.count;
    EXPECT_EQ(process.stop(), 0);
    EXPECT_TRUE(changes.waitFor(seen + 1));
    EXPECT_EQ(backend.enumerate()->size(), 0u);
    EXPECT_FALSE(writeReport(current, proto::Payload{}));
    EXPECT_EQ(current.lastStatus(), HidStatus::disconnected);
    EXPECT_EQ(scanDevices(backend, pedalPattern(), current, attached), 0);
    EXPECT_FALSE(current.isOpen());
    EXPECT_NE(readFile(state).find("\"plugged\":false"), std::string::npos);
}

TEST(PedalSimProcess, UnplugsAfterTheExchangesItWasToldAndFailsOnRequest) {
    test::TempFolder folder;
    PedalSimProcess process({"--dir", folder.path(), "--unplug-after", "2"});
    const auto sockets = process.waitReady(1);
    ASSERT_EQ(sockets.size(), 1u);
    VirtualHidBackend backend(folder.path());
    CHidDevice current;
    std::vector<CHidDevice> attached;
    ASSERT_EQ(scanDevices(backend, pedalPattern(), current, attached), 1);
    EXPECT_EQ(exchangeName(current), "Tovan");
    EXPECT_EQ(exchangeName(current), "Tovan"); // the second exchange completes, then the pedal goes
    EXPECT_FALSE(writeReport(current, proto::Payload{}));
    EXPECT_EQ(current.lastStatus(), HidStatus::disconnected);
    EXPECT_EQ(scanDevices(backend, pedalPattern(), current, attached), 0);

    test::TempFolder other;
    PedalSimProcess failing({"--dir", other.path(), "--fail-rate", "1"});
    ASSERT_EQ(failing.waitReady(1).size(), 1u);
    VirtualHidBackend failingBus(other.path());
    ASSERT_EQ(scanDevices(failingBus, pedalPattern(), current, attached), 1);
    EXPECT_FALSE(writeReport(current, proto::Payload{}));
    EXPECT_EQ(current.lastStatus(), HidStatus::failed);
}

TEST(PedalSimProcess, APedalSentToUpdateModeComesBackAsAnotherProduct) {
    test::TempFolder folder;
    PedalSimProcess process({"--dir", folder.path()});
    ASSERT_EQ(process.waitReady(1).size(), 1u);
    VirtualHidBackend backend(folder.path());
    ChangeCounter changes;
    auto monitor = backend.watch([&] { changes.notify(); });
    CHidDevice current;
    std::vector<CHidDevice> attached;
    ASSERT_EQ(scanDevices(backend, pedalPattern(), current, attached), 1);

    ASSERT_TRUE(writeReport(
        current, proto::encodeHeader({proto::kWrite, proto::kGroupDevice, proto::device::kEnterUpdate, {}})));
    ASSERT_TRUE(writeReport(current, proto::Payload{}));
    ASSERT_TRUE(changes.waitFor(1));
    const auto paths = backend.enumerate().value();
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_NE(paths[0].find("vid_231c&pid_8002"), std::string::npos);
    EXPECT_EQ(scanDevices(backend, pedalPattern(), current, attached), 0);
}

TEST(PedalSimProcess, RejectsBadOptions) {
    PedalSimProcess process({"--count", "zero"});
    EXPECT_EQ(process.wait(), 2);
}

} // namespace
} // namespace tovan
