#pragma once

// Serves simulated pedals on the virtual bus: one UNIX stream socket per
// attached pedal in one folder. Creating the socket plugs the pedal in,
// removing it unplugs it. Each connection is one open handle.
//
// The frames are those of platform/virtual_bus_frame.h.

#include "sim/sim_pedal.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tovan::sim {

class BusServer {
public:
    explicit BusServer(std::string folder);
    ~BusServer(); // removes every socket it created
    BusServer(const BusServer&) = delete;
    BusServer& operator=(const BusServer&) = delete;

    // Plugs a pedal in. False (with the reason) when its socket cannot be made.
    bool addPedal(std::unique_ptr<SimPedal> pedal, std::string& error);

    // Every report is answered this long after the client sent it (or, when
    // the server saw it later than that, at once), not earlier and, as far as
    // the machine allows, not later.
    void setLatency(std::chrono::microseconds latency) { latency_ = latency; }

    // Serves for at most the given time: accepts connections, answers frames,
    // sends answers that are due, unplugs pedals that asked for it.
    void runOnce(std::chrono::milliseconds wait);

    // Unplugs every pedal: sockets removed, connections closed.
    void stop();

    size_t pedalCount() const { return slots_.size(); }
    SimPedal& pedal(size_t index) { return *slots_.at(index).pedal; }
    bool plugged(size_t index) const { return slots_.at(index).listenFd >= 0; }
    const std::string& socketPath(size_t index) const { return slots_.at(index).socketPath; }

    // {"pedals": [state of each pedal, with its socket and whether it is plugged]}.
    std::string stateJson() const;

private:
    struct Client {
        int fd = -1;
        std::vector<uint8_t> input;
    };
    struct Slot {
        std::unique_ptr<SimPedal> pedal;
        std::string socketPath;
        int listenFd = -1;
        std::vector<Client> clients;
        bool updateSocket = false; // serving as the firmware updater's product
    };
    struct Delayed {
        std::chrono::steady_clock::time_point due;
        int fd;
        std::vector<uint8_t> bytes;
    };

    using Clock = std::chrono::steady_clock;

    bool plug(Slot& slot, uint16_t product, std::string& error);
    void unplug(Slot& slot);
    // `arrived`: no earlier than the frame reached the server (its poll returned).
    void handleFrame(Slot& slot, Client& client, const uint8_t* frame, Clock::time_point arrived);
    void sendOrDelay(int fd, std::vector<uint8_t> bytes, Clock::time_point due);
    // Sends every answer that is due, waiting on the clock for those due
    // within the last stretch.
    void sendDue();
    void closeClient(Client& client);

    std::string folder_;
    std::vector<Slot> slots_;
    std::vector<Delayed> delayed_; // in the order made, so per connection in time order too
    std::chrono::microseconds latency_{0};
};

} // namespace tovan::sim
