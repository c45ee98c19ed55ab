#pragma once

// Simulated pedals inside the editor's own process: the demo mode, and the
// back end of tests that need a pedal without sockets.

#include "platform/hid_backend.h"
#include "sim/sim_pedal.h"

#include <chrono>
#include <memory>

namespace tovan {

class SimHidBackend : public HidBackend {
public:
    // `count` pedals, plugged in, with serial numbers 1..count.
    explicit SimHidBackend(int count = 1);
    ~SimHidBackend() override;

    std::optional<std::vector<std::string>> enumerate() override;
    std::unique_ptr<HidHandle> open(const std::string& path) override;
    std::unique_ptr<HotplugMonitor> watch(std::function<void()> devicesChanged) override;
    bool sharedWithOtherProcesses() const override { return false; }

    // Plugs in one more pedal; returns its index.
    size_t plug(std::unique_ptr<sim::SimPedal> pedal);
    // Pulls the pedal out: its handles answer disconnected from now on.
    void unplug(size_t index);
    size_t pedalCount() const;
    // The pedal itself, for playing it and checking what reached it. Not
    // thread-safe against reports in flight.
    sim::SimPedal& pedal(size_t index);
    std::string pathOf(size_t index) const;
    // Every report waits this long before it completes.
    void setLatency(std::chrono::microseconds latency);

    struct State;

private:
    std::shared_ptr<State> state_;
};

} // namespace tovan
