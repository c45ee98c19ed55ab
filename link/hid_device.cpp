#include "link/hid_device.h"

#include "platform/trace.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace tovan {

CHidDevice::CHidDevice(std::string path, std::unique_ptr<HidHandle> handle, std::shared_ptr<PedalClaim> claim)
    : path_(std::move(path)), claim_(std::move(claim)), handle_(std::move(handle)) {}

CHidDevice CHidDevice::heldElsewhere(std::string path, ClaimHolder holder) {
    CHidDevice device(std::move(path), nullptr);
    device.heldBy_ = std::move(holder);
    return device;
}

CHidDevice::CHidDevice(const CHidDevice& other)
    : path_(other.path_), claim_(other.claim_), heldBy_(other.heldBy_), lastStatus_(other.lastStatus_) {
    if (other.handle_) handle_ = other.handle_->duplicate();
}

CHidDevice& CHidDevice::operator=(const CHidDevice& other) {
    if (this == &other) return *this;
    // Our own handle goes first, then we take a duplicate of theirs.
    handle_.reset();
    claim_ = other.claim_;
    if (other.handle_) handle_ = other.handle_->duplicate();
    path_ = other.path_;
    heldBy_ = other.heldBy_;
    lastStatus_ = other.lastStatus_;
    return *this;
}

void CHidDevice::close() {
    handle_.reset();
    claim_.reset();
    heldBy_.reset();
    path_.clear();
    lastStatus_ = HidStatus::ok;
}

std::string pedalPattern() {
    char text[32];
    std::snprintf(text, sizeof text, "vid_%04x&pid_%04x", proto::kVendorId, proto::kProductId);
    return text;
}

namespace {

bool pathMatches(const std::string& path, std::string_view pattern) {
    std::string work = path.substr(0, kMaxPathSearched);
    std::transform(work.begin(), work.end(), work.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return work.find(pattern) != std::string::npos;
}

} // namespace

int scanDevices(HidBackend& backend, std::string_view pattern, CHidDevice& current,
                std::vector<CHidDevice>& attached) {
    std::vector<std::string> previousPaths;
    for (const CHidDevice& device : attached)
        previousPaths.push_back(device.path());
    attached.clear();

    int result = 0;
    // The first newly opened pedal, remembered by path: it is copied (a second
    // open) only when it becomes current.
    std::string firstNew;
    // A current pedal whose handle has seen the device vanish is not kept even
    // when its path is back: a re-plugged pedal can get the same device node,
    // and the old handle will never work again.
    const bool currentUsable = current.isOpen() && current.lastStatus() != HidStatus::disconnected;
    if (auto paths = backend.enumerate()) {
        for (const std::string& path : *paths) {
            if (!pathMatches(path, pattern)) continue;
            if (currentUsable && path == current.path()) {
                result = 2;
                attached.push_back(current);
                continue;
            }
            std::shared_ptr<PedalClaim> claim;
            if (backend.sharedWithOtherProcesses()) {
                ClaimHolder holder;
                claim = claimPedal(path, &holder);
                if (!claim) {
                    tovanTrace("scanDevices: %s is in use by %s\n", path.c_str(), holder.text().c_str());
                    attached.push_back(CHidDevice::heldElsewhere(path, holder));
                    continue;
                }
            }
            std::unique_ptr<HidHandle> handle = backend.open(path);
            if (!handle) {
                tovanTrace("scanDevices: cannot open %s\n", path.c_str());
                continue;
            }
            attached.emplace_back(path, std::move(handle), std::move(claim));
            if (firstNew.empty()) firstNew = path;
            if (result != 2) result = 1;
        }
    }

    // Pedals listed before keep their relative order at the front.
    for (auto it = previousPaths.rbegin(); it != previousPaths.rend(); ++it) {
        auto found = std::find_if(attached.begin(), attached.end(),
                                  [&](const CHidDevice& device) { return device.path() == *it; });
        if (found != attached.end()) std::rotate(attached.begin(), found, found + 1);
    }

    if (result != 2) {
        current.close();
        for (const CHidDevice& device : attached)
            if (!firstNew.empty() && device.path() == firstNew) current = device;
    }
    return result;
}

bool anyHeldPedalFreed(const std::vector<CHidDevice>& attached) {
    for (const CHidDevice& device : attached)
        if (device.heldBy() && !pedalClaimHolder(device.path())) return true;
    return false;
}

bool writeReport(CHidDevice& device, const proto::Payload& payload, std::chrono::milliseconds timeout) {
    if (!device.isOpen()) return false;
    HidReport report{};
    std::copy(payload.begin(), payload.end(), report.begin() + 1);
    const HidStatus status = device.handle()->write(report, timeout);
    device.setLastStatus(status);
    return status == HidStatus::ok;
}

bool readReport(CHidDevice& device, proto::Payload& payload, std::chrono::milliseconds timeout) {
    if (!device.isOpen()) return false;
    HidReport report{};
    const HidStatus status = device.handle()->getInputReport(report, timeout);
    device.setLastStatus(status);
    if (status != HidStatus::ok) return false;
    std::copy(report.begin() + 1, report.end(), payload.begin());
    return true;
}

} // namespace tovan
