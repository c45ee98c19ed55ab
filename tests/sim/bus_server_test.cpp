#include "sim/bus_server.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
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

        uint8_t frame[19] = {0x01, 9};
        ASSERT_EQ(::send(slow, frame, sizeof frame, 0), 19);
        ASSERT_EQ(::send(quick, frame, sizeof frame, 0), 19);
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
