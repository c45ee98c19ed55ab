#pragma once

// Real pedals through hidapi's hidraw back end. Interface paths carry the USB
// identifiers in the form the pedal scan looks for, for example
// "hidraw:/dev/hidraw3#vid_231c&pid_0002". Hot-plug comes from a libudev
// monitor on the hidraw subsystem.

#include "platform/hid_backend.h"

namespace tovan {

class HidapiBackend : public HidBackend {
public:
    HidapiBackend();

    std::optional<std::vector<std::string>> enumerate() override;
    std::unique_ptr<HidHandle> open(const std::string& path) override;
    std::unique_ptr<HotplugMonitor> watch(std::function<void()> devicesChanged) override;
};

// The interface path of a hidraw node with the device's USB identifiers:
// "hidraw:/dev/hidraw3#vid_231c&pid_0002".
std::string hidrawPathOf(const std::string& node, unsigned short vendor, unsigned short product);
// The device node inside one of our interface paths ("/dev/hidraw3"), or empty.
std::string hidrawNodeOf(const std::string& path);

} // namespace tovan
