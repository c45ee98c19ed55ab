// The virtual bus client against a pedal that misbehaves on purpose: answers
// that come late, out of order, cut short, malformed, or never.

#include "platform/hid/virtual/virtual_backend.h"
#include "platform/virtual_bus_frame.h"
#include "tests/platform/temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace tovan {
namespace {

using std::chrono::milliseconds;
using Frame = std::array<uint8_t, bus::kRequestSize>;
// What the scripted pedal sends for one frame; `hangUp` closes the connection after.
struct Reply {
    std::vector<uint8_t> bytes;
    bool hangUp = false;
};

std::vector<uint8_t> okAnswer(const Frame& frame, uint8_t fill = 0) {
    std::vector<uint8_t> out{frame[0], frame[1], 0};
    if (frame[0] == 2) {
        out.push_back(0);
        out.insert(out.end(), 16, fill);
    }
    return out;
}

// One socket on the bus, answering each frame through a script run on its own thread.
class ScriptedPedal {
public:
    ScriptedPedal(const std::string& folder, std::function<Reply(const Frame&, int frameNumber)> script)
        : path_(folder + "/vid_231c&pid_0002&serial_0009"), script_(std::move(script)) {
        listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, path_.c_str());
        EXPECT_EQ(::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(::listen(listenFd_, 4), 0);
        EXPECT_EQ(::pipe(stopPipe_), 0);
        thread_ = std::thread([this] { serve(); });
    }
    ~ScriptedPedal() {
        EXPECT_EQ(::write(stopPipe_[1], "x", 1), 1);
        thread_.join();
        ::close(listenFd_);
        ::close(stopPipe_[0]);
        ::close(stopPipe_[1]);
        ::unlink(path_.c_str());
    }
    std::string interfacePath() const { return "virtual:" + path_; }
    int connections() const { return connections_; }

private:
    void serve() {
        int client = -1;
        std::vector<uint8_t> input;
        int frameNumber = 0;
        for (;;) {
            pollfd fds[3] = {{stopPipe_[0], POLLIN, 0}, {listenFd_, POLLIN, 0}, {client, POLLIN, 0}};
            ::poll(fds, client >= 0 ? 3 : 2, -1);
            if (fds[0].revents) break;
            if (fds[1].revents) {
                if (client >= 0) ::close(client);
                client = ::accept(listenFd_, nullptr, nullptr);
                input.clear();
                ++connections_;
                continue;
            }
            if (client < 0 || !fds[2].revents) continue;
            uint8_t buffer[64];
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) {
                ::close(client);
                client = -1;
                continue;
            }
            input.insert(input.end(), buffer, buffer + n);
            while (input.size() >= bus::kRequestSize && client >= 0) {
                Frame frame;
                std::copy_n(input.begin(), static_cast<long>(bus::kRequestSize), frame.begin());
                input.erase(input.begin(), input.begin() + static_cast<long>(bus::kRequestSize));
                const Reply reply = script_(frame, frameNumber++);
                if (!reply.bytes.empty())
                    ::send(client, reply.bytes.data(), reply.bytes.size(), MSG_NOSIGNAL);
                if (reply.hangUp) {
                    ::close(client);
                    client = -1;
                }
            }
        }
        if (client >= 0) ::close(client);
    }

    std::string path_;
    std::function<Reply(const Frame&, int)> script_;
    int listenFd_ = -1;
    int stopPipe_[2] = {-1, -1};
    std::atomic<int> connections_{0};
    std::thread thread_;
};

class VirtualBusClient : public ::testing::Test {
protected:
    std::unique_ptr<HidHandle> openPedal(ScriptedPedal& pedal) { return backend.open(pedal.interfacePath()); }

    test::TempFolder folder;
    VirtualHidBackend backend{folder.path()};
    HidReport report{};
};

TEST_F(VirtualBusClient, FramesCarryOpSequenceSendTimeAndTheWholeReport) {
    std::vector<Frame> seen;
    std::mutex mutex;
    ScriptedPedal pedal(folder.path(), [&](const Frame& frame, int) {
        std::lock_guard lock(mutex);
        seen.push_back(frame);
        return Reply{okAnswer(frame, 0x5A)};
    });
    auto paths = backend.enumerate();
    ASSERT_TRUE(paths.has_value());
    EXPECT_EQ(*paths, std::vector{pedal.interfacePath()});
    auto handle = openPedal(pedal);
    ASSERT_NE(handle, nullptr);

    for (size_t i = 0; i < report.size(); ++i)
        report[i] = uint8_t(i);
    report[0] = 0;
    const auto before = bus::SendClock::now();
    EXPECT_EQ(handle->write(report, milliseconds(2000)), HidStatus::ok);
    const auto after = bus::SendClock::now();
    HidReport answer{};
    EXPECT_EQ(handle->getInputReport(answer, milliseconds(2000)), HidStatus::ok);
    EXPECT_EQ(answer[0], 0);
    EXPECT_EQ(answer[16], 0x5A);

    std::lock_guard lock(mutex);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0][0], 1);
    EXPECT_EQ(seen[1][0], 2);
    EXPECT_EQ(uint8_t(seen[0][1] + 1), seen[1][1]);
    EXPECT_TRUE(std::equal(report.begin(), report.end(), seen[0].begin() + bus::kReportAt));
    EXPECT_GE(bus::sentAt(seen[0].data()), before);
    EXPECT_LE(bus::sentAt(seen[0].data()), after);
}

TEST_F(VirtualBusClient, APedalThatNeverAnswersFailsWithinTheTimeOut) {
    ScriptedPedal pedal(folder.path(), [](const Frame& frame, int number) {
        // Silent for the first frame, then answers (late for the first, on time for the second).
        if (number == 0) return Reply{};
        Frame late = frame;
        late[0] = 1;
        late[1] = uint8_t(frame[1] - 1);
        std::vector<uint8_t> bytes = okAnswer(late);
        const auto current = okAnswer(frame);
        bytes.insert(bytes.end(), current.begin(), current.end());
        return Reply{bytes};
    });
    auto handle = openPedal(pedal);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(handle->write(report, milliseconds(50)), HidStatus::timedOut);
    EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(50));
    // The late answer to the abandoned write is dropped, not taken for this one.
    HidReport answer{};
    answer.fill(0xEE);
    EXPECT_EQ(handle->getInputReport(answer, milliseconds(2000)), HidStatus::ok);
    EXPECT_EQ(answer[1], 0);
    // It went over a new connection: once the sequence number has wrapped, a
    // late answer on the old one could pass for the answer to a later frame.
    EXPECT_EQ(pedal.connections(), 2);
}

TEST_F(VirtualBusClient, FailureStatusAndMismatchedAnswersFailThatExchangeOnly) {
    ScriptedPedal pedal(folder.path(), [](const Frame& frame, int number) {
        switch (number) {
        case 0:
            return Reply{{frame[0], frame[1], 7}}; // the pedal says no
        case 1: {
            // An answer with another op but our sequence number, then the real one.
            std::vector<uint8_t> bytes{uint8_t(frame[0] == 1 ? 2 : 1), frame[1], 0};
            if (bytes[0] == 2) bytes.insert(bytes.end(), 17, 0);
            const auto real = okAnswer(frame);
            bytes.insert(bytes.end(), real.begin(), real.end());
            return Reply{bytes};
        }
        case 2: {
            std::vector<uint8_t> bytes = okAnswer(frame);
            bytes[3] = 4; // an input report with another id
            return Reply{bytes};
        }
        case 4: {
            std::vector<uint8_t> bytes = okAnswer(frame, 0x77);
            bytes[2] = 1; // a refused input report still carries bytes
            return Reply{bytes};
        }
        default:
            return Reply{okAnswer(frame)};
        }
    });
    auto handle = openPedal(pedal);
    HidReport answer{};
    EXPECT_EQ(handle->write(report, milliseconds(2000)), HidStatus::failed);
    EXPECT_EQ(handle->write(report, milliseconds(2000)), HidStatus::ok);
    answer.fill(0xEE);
    EXPECT_EQ(handle->getInputReport(answer, milliseconds(2000)), HidStatus::failed);
    EXPECT_EQ(answer[0], 0xEE);
    EXPECT_EQ(handle->write(report, milliseconds(2000)), HidStatus::ok);
    EXPECT_EQ(handle->getInputReport(answer, milliseconds(2000)), HidStatus::failed);
    EXPECT_EQ(answer[1], 0xEE);
}

TEST_F(VirtualBusClient, ShortAndMalformedAnswersFailAndTheNextExchangeStartsClean) {
    ScriptedPedal pedal(folder.path(), [](const Frame& frame, int number) {
        if (number == 0) return Reply{{frame[0], frame[1]}}; // cut short
        if (number == 1) return Reply{{0x42, frame[1], 0}};  // no such op
        return Reply{okAnswer(frame, 0x11)};
    });
    auto handle = openPedal(pedal);
    HidReport answer{};
    EXPECT_EQ(handle->getInputReport(answer, milliseconds(50)), HidStatus::timedOut);
    EXPECT_EQ(handle->write(report, milliseconds(2000)), HidStatus::failed);
    EXPECT_EQ(handle->getInputReport(answer, milliseconds(2000)), HidStatus::ok);
    EXPECT_EQ(answer[1], 0x11);
    EXPECT_EQ(pedal.connections(), 3); // each unreadable stream was replaced
}

TEST_F(VirtualBusClient, APedalThatVanishesMidExchangeIsDisconnected) {
    ScriptedPedal pedal(folder.path(), [](const Frame&, int) { return Reply{{}, true}; });
    auto handle = openPedal(pedal);
    auto second = handle->duplicate();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(handle->write(report, milliseconds(2000)), HidStatus::disconnected);
    EXPECT_EQ(handle->write(report, milliseconds(2000)), HidStatus::disconnected);
    // The duplicate is its own connection, and is dropped on its own.
    EXPECT_EQ(second->write(report, milliseconds(2000)), HidStatus::disconnected);
}

TEST_F(VirtualBusClient, PathsOutsideTheBusDoNotOpen) {
    EXPECT_EQ(backend.open("hidraw:/dev/hidraw0#vid_231c&pid_0002"), nullptr);
    EXPECT_EQ(backend.open("virtual:" + folder.path() + "/vid_231c&pid_0002&serial_0404"), nullptr);
    VirtualHidBackend missing(folder.path() + "/none");
    EXPECT_EQ(missing.enumerate(), std::vector<std::string>{});
}

TEST(VirtualBusFolder, ExplicitThenEnvironment) {
    EXPECT_EQ(virtualBusFolder("/x/y"), "/x/y");
    ::setenv("TOVAN_VIRTUAL_DIR", "/from/env", 1);
    EXPECT_EQ(virtualBusFolder(), "/from/env");
    ::unsetenv("TOVAN_VIRTUAL_DIR");
    ::setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
    EXPECT_EQ(virtualBusFolder(), "/run/user/1000/tovan-virtual");
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(virtualBusFolder(), "/tmp/tovan-virtual-" + std::to_string(::getuid()));
}

} // namespace
} // namespace tovan
