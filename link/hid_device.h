#pragma once

// The USB HID transport: finding attached pedals, the attached-pedal list and
// the current pedal, and moving 16-byte payloads to and from one pedal. It
// talks to the system only through HidBackend.

#include "link/protocol.h"
#include "platform/hid_backend.h"
#include "platform/pedal_claim.h"

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tovan {

inline constexpr std::chrono::milliseconds kWriteTimeout{2000};
// Reads have no time-out of their own; this bounds a pedal that never answers.
inline constexpr std::chrono::milliseconds kReadTimeout{2000};
// Only this much of an interface path is searched for the pedal pattern.
inline constexpr size_t kMaxPathSearched = 260;

// One opened pedal interface. Every copy owns its own handle (a second open of
// the same interface), so closing one copy leaves the others working; the
// copies share the pedal's claim. A pedal that another program holds is
// listed without a handle, with who holds it.
class CHidDevice {
public:
    CHidDevice() = default;
    CHidDevice(std::string path, std::unique_ptr<HidHandle> handle,
               std::shared_ptr<PedalClaim> claim = nullptr);
    // A pedal that is attached but held by another program.
    static CHidDevice heldElsewhere(std::string path, ClaimHolder holder);
    CHidDevice(const CHidDevice& other);
    CHidDevice& operator=(const CHidDevice& other);
    CHidDevice(CHidDevice&& other) noexcept = default;
    CHidDevice& operator=(CHidDevice&& other) noexcept = default;
    ~CHidDevice() = default;

    // The interface path exactly as the back end gave it, in its own letter case.
    const std::string& path() const { return path_; }
    bool isOpen() const { return handle_ != nullptr; }
    // Cancels anything pending, closes the handle and forgets the path.
    void close();

    HidHandle* handle() const { return handle_.get(); }
    // Who holds the pedal when another program does (the device is then not open).
    const std::optional<ClaimHolder>& heldBy() const { return heldBy_; }
    // What the last report operation came to (disconnected tells a vanished pedal).
    HidStatus lastStatus() const { return lastStatus_; }
    void setLastStatus(HidStatus status) { lastStatus_ = status; }

private:
    std::string path_;
    // Declared before the handle: the handle closes before the claim can go.
    std::shared_ptr<PedalClaim> claim_;
    std::unique_ptr<HidHandle> handle_;
    std::optional<ClaimHolder> heldBy_;
    HidStatus lastStatus_ = HidStatus::ok;
};

// "vid_231c&pid_0002": what a pedal's interface path contains, lower-cased.
std::string pedalPattern();

// Re-enumerates, rebuilds `attached` and updates `current`. Each pedal is
// claimed before it is opened (when the back end's pedals are shared with
// other programs); one held by another program is listed unopened, with its
// holder, and never becomes current.
// 0: nothing could be opened and `current` is now empty;
// 1: the previous current pedal is gone (or there was none) and the first
//    newly opened pedal is current;
// 2: the previous current pedal is still attached and stays current.
// Pedals already listed keep their relative order at the front; new ones follow
// in enumeration order.
int scanDevices(HidBackend& backend, std::string_view pattern, CHidDevice& current,
                std::vector<CHidDevice>& attached);

// Whether a pedal listed as held by another program has been let go.
bool anyHeldPedalFreed(const std::vector<CHidDevice>& attached);

// Sends one payload as output report 0. Fails on a closed device, a refused
// write or no completion within `timeout` (the write is then cancelled).
bool writeReport(CHidDevice& device, const proto::Payload& payload,
                 std::chrono::milliseconds timeout = kWriteTimeout);

// Fetches input report 0 and copies its payload out; `payload` is left
// untouched on failure.
bool readReport(CHidDevice& device, proto::Payload& payload,
                std::chrono::milliseconds timeout = kReadTimeout);

} // namespace tovan
