#pragma once

// What the link needs from the system to reach pedals over USB HID: the paths
// of the attached HID interfaces, opening one, and moving 17-byte reports.
// Back ends (real pedals through hidapi, the in-process simulator, the virtual
// bus) live in platform/hid/, one target each.

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tovan {

// One report as it travels: byte 0 is the report id (always 0), bytes 1-16
// the payload.
inline constexpr size_t kHidReportSize = 17;
using HidReport = std::array<uint8_t, kHidReportSize>;

enum class HidStatus {
    ok,
    failed,       // the device refused or the report could not be sent
    timedOut,     // no completion within the time-out; nothing is left pending
    disconnected, // the device is gone; this handle will not work again
};

// One open handle on one interface. Destroying it cancels anything pending and
// closes it. Handles are used from one thread at a time.
class HidHandle {
public:
    virtual ~HidHandle() = default;

    // Sends one output report. Waits at most `timeout` for it to complete; on
    // time-out the write is abandoned before returning.
    virtual HidStatus write(const HidReport& report, std::chrono::milliseconds timeout) = 0;

    // Fetches input report 0 into `report` (byte 0 = 0, then the payload).
    // `report` is left untouched unless the result is ok.
    virtual HidStatus getInputReport(HidReport& report, std::chrono::milliseconds timeout) = 0;

    // A second, independent handle on the same interface (its own connection),
    // or nullptr when the interface cannot be opened again.
    virtual std::unique_ptr<HidHandle> duplicate() const = 0;
};

// Watches for interfaces coming and going. The callback comes once per burst
// of changes, on whatever thread noticed them (a monitor thread, or the thread
// whose exchange unplugged a simulated pedal); the receiver posts it to its
// own loop rather than re-scanning inside the callback.
class HotplugMonitor {
public:
    virtual ~HotplugMonitor() = default; // stops watching; no callback after it returns
};

class HidBackend {
public:
    virtual ~HidBackend() = default;

    // The interface paths of every present HID interface, in enumeration order,
    // or nothing when the set of interfaces cannot be obtained at all.
    virtual std::optional<std::vector<std::string>> enumerate() = 0;

    // Opens one path for reading and writing; nullptr when it cannot be opened.
    virtual std::unique_ptr<HidHandle> open(const std::string& path) = 0;

    // Starts watching for device changes; nullptr when this back end cannot.
    virtual std::unique_ptr<HotplugMonitor> watch(std::function<void()> devicesChanged) = 0;

    // Whether other programs can reach these pedals too, so that each needs a
    // claim before it is used. Simulated pedals inside the process are its own.
    virtual bool sharedWithOtherProcesses() const { return true; }
};

} // namespace tovan
