#pragma once

// The pedals a link has open already, offered as a back end of their own: a
// second link in the same program (the editor running a command for tovan-cli)
// opens them as second handles, under the claim the program holds, and finds
// the ones held elsewhere held still. It lists what the first link lists, in
// its order.

#include <vector>

#include "link/hid_device.h"

namespace tovan {

class SharedPedalsBackend : public HidBackend {
public:
    explicit SharedPedalsBackend(const std::vector<CHidDevice>& pedals) : pedals(pedals) {}

    std::optional<std::vector<std::string>> enumerate() override {
        std::vector<std::string> paths;
        for (const CHidDevice& pedal : pedals)
            paths.push_back(pedal.path());
        return paths;
    }
    std::unique_ptr<HidHandle> open(const std::string& path) override {
        for (const CHidDevice& pedal : pedals)
            if (pedal.path() == path && pedal.isOpen()) return pedal.handle()->duplicate();
        return nullptr;
    }
    std::unique_ptr<HotplugMonitor> watch(std::function<void()>) override { return nullptr; }

private:
    const std::vector<CHidDevice>& pedals;
};

} // namespace tovan
