#include "sim/bus_server.h"

#include "platform/virtual_bus_frame.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace tovan::sim {
namespace {

int connectTo(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    return fd;
}

bool readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0;
}

// An output request as a client sends it, stamped `sentAt`.
std::array<uint8_t, bus::kRequestSize>
outputFrame(uint8_t seq, bus::SendClock::time_point sentAt = bus::SendClock::now()) {
    std::array<uint8_t, bus::kRequestSize> frame{bus::kOpOutput, seq};
    bus::putSentAt(frame.data(), sentAt);
    return frame;
}

void sendFrame(int fd, const std::array<uint8_t, bus::kRequestSize>& frame) {
    ASSERT_EQ(::send(fd, frame.data(), frame.size(), 0), static_cast<ssize_t>(frame.size()));
}

TEST(BusServer, ALateAnswerHoldsUpOnlyItsOwnPedal) {
    char pattern[] = "/tmp/tovan-bus-XXXXXX";
    const std::string folder = ::mkdtemp(pattern);
    {
        BusServer server(folder);
        std::string error;
        for (unsigned serial = 1; serial <= 2; ++serial) {
            SimOptions options;
            options.serial = serial;
            ASSERT_TRUE(server.addPedal(std::make_unique<SimPedal>(options), error)) << error;
        }
        Faults late;
        late.lateRate = 1.0;
        late.lateMicros = 5'000'000;
        server.pedal(0).setFaults(late);

        const int slow = connectTo(server.socketPath(0));
        const int quick = connectTo(server.socketPath(1));
        for (int i = 0; i < 3; ++i)
            server.runOnce(std::chrono::milliseconds(10)); // accept both

        sendFrame(slow, outputFrame(9));
        sendFrame(quick, outputFrame(9));
        for (int i = 0; i < 100 && !readable(quick); ++i)
            server.runOnce(std::chrono::milliseconds(10));
        ASSERT_TRUE(readable(quick));
        uint8_t answer[3] = {};
        ASSERT_EQ(::recv(quick, answer, sizeof answer, 0), 3);
        EXPECT_EQ(answer[0], 0x01);
        EXPECT_EQ(answer[1], 9);
        EXPECT_EQ(answer[2], 0);
        EXPECT_FALSE(readable(slow));

        // Stopping unplugs: the sockets are gone and the connections closed.
        server.stop();
        EXPECT_FALSE(std::filesystem::exists(server.socketPath(0)));
        EXPECT_EQ(::recv(slow, answer, sizeof answer, 0), 0);
        ::close(slow);
        ::close(quick);
    }
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace tovan::sim

namespace tovan::sim {
namespace {

// A pedal's socket appears under its name only once it takes connections: a
// program told of the new name by inotify connects at once, and nothing else
// in the folder is a socket it could try.
TEST(BusServer, APedalsNameAppearsOnlyWhenItTakesConnections) {
    char pattern[] = "/tmp/tovan-bus-XXXXXX";
    const std::string folder = ::mkdtemp(pattern);
    {
        const int watch = ::inotify_init1(IN_CLOEXEC);
        ASSERT_GE(watch, 0);
        ASSERT_GE(::inotify_add_watch(watch, folder.c_str(), IN_CREATE | IN_MOVED_TO), 0);
        BusServer server(folder);
        std::string error;
        ASSERT_TRUE(server.addPedal(std::make_unique<SimPedal>(), error)) << error;
        const std::string name = std::filesystem::path(server.socketPath(0)).filename();

        alignas(inotify_event) char buffer[4096];
        const ssize_t n = ::read(watch, buffer, sizeof buffer);
        ASSERT_GT(n, 0);
        uint32_t named = 0;
        for (const char* at = buffer; at < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (event->len > 0 && name == event->name) named |= event->mask;
            at += sizeof(inotify_event) + event->len;
        }
        EXPECT_EQ(named, static_cast<uint32_t>(IN_MOVED_TO))
            << "the name was made before the socket listened (a connect then is refused)";
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            EXPECT_EQ(entry.path().filename(), name) << "a socket half made was left behind";
        const int client = connectTo(server.socketPath(0));
        EXPECT_GE(client, 0);
        ::close(client);
        ::close(watch);
    }
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace tovan::sim

namespace tovan::sim {
namespace {

// A report takes its latency from when the client sent it, as on a cable:
// an answer never leaves before that, and a request that waited in the
// socket while the server was busy is not made to wait its whole latency
// again. A send time that cannot be one counts as the moment it was seen.
TEST(BusServer, AnAnswerIsDueItsLatencyAfterTheClientSentTheRequest) {
    using Clock = std::chrono::steady_clock;
    char pattern[] = "/tmp/tovan-bus-XXXXXX";
    const std::string folder = ::mkdtemp(pattern);
    {
        BusServer server(folder);
        std::string error;
        ASSERT_TRUE(server.addPedal(std::make_unique<SimPedal>(), error)) << error;
        const int client = connectTo(server.socketPath(0));
        server.runOnce(std::chrono::milliseconds(10)); // accepts
        auto answerWithin = [&](std::chrono::milliseconds limit) {
            const auto start = Clock::now();
            while (!readable(client) && Clock::now() - start < limit)
                server.runOnce(std::chrono::milliseconds(1));
            if (!readable(client)) return false;
            uint8_t answer[bus::kShortAnswerSize] = {};
            return ::recv(client, answer, sizeof answer, 0) == static_cast<ssize_t>(sizeof answer) &&
                   answer[0] == bus::kOpOutput && answer[bus::kStatusAt] == 0;
        };

        // Stamped now, served at once or late: never before its latency.
        constexpr std::chrono::microseconds kShort{3000};
        server.setLatency(kShort);
        for (int round = 0; round < 4; ++round) {
            const auto sent = Clock::now();
            sendFrame(client, outputFrame(static_cast<uint8_t>(round)));
            if (round % 2 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
            ASSERT_TRUE(answerWithin(std::chrono::seconds(2))) << "round " << round;
            EXPECT_GE(Clock::now() - sent, kShort) << "round " << round;
        }

        // Sent 600 ms before the server saw it, at 1 s a report: due 400 ms
        // after, not a whole second.
        server.setLatency(std::chrono::seconds(1));
        const auto sixHundredMsAgo = bus::SendClock::now() - std::chrono::milliseconds(600);
        sendFrame(client, outputFrame(10, sixHundredMsAgo));
        const auto seen = Clock::now();
        EXPECT_FALSE(answerWithin(std::chrono::milliseconds(300)));
        EXPECT_TRUE(answerWithin(std::chrono::milliseconds(400)));
        EXPECT_LT(Clock::now() - seen, std::chrono::milliseconds(800));

        // A send time in the future is taken for now: the answer still comes.
        server.setLatency(std::chrono::microseconds(5000));
        sendFrame(client, outputFrame(11, bus::SendClock::now() + std::chrono::hours(1)));
        EXPECT_TRUE(answerWithin(std::chrono::seconds(2)));
        ::close(client);
    }
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace tovan::sim
