#pragma once

// A HID back end whose interfaces are whatever paths a test lists. Handles
// record what they were asked to do.

#include "platform/hid_backend.h"

#include <map>
#include <memory>
#include <set>

namespace tovan::test {

struct FakeBus {
    std::vector<std::string> paths;
    bool enumerationFails = false;
    std::set<std::string> unopenable;
    std::set<std::string> gone; // opened handles on these answer disconnected
    int openHandles = 0;
    int opens = 0;
    std::vector<std::pair<std::string, HidReport>> written;
    std::vector<std::chrono::milliseconds> timeouts;
    HidStatus nextWrite = HidStatus::ok;
    HidStatus nextRead = HidStatus::ok;
    HidReport readReport{};
};

class FakeHandle : public HidHandle {
public:
    FakeHandle(std::shared_ptr<FakeBus> bus, std::string path)
        : bus_(std::move(bus)), path_(std::move(path)) {
        ++bus_->openHandles;
        ++bus_->opens;
    }
    ~FakeHandle() override { --bus_->openHandles; }

    HidStatus write(const HidReport& report, std::chrono::milliseconds timeout) override {
        bus_->timeouts.push_back(timeout);
        if (bus_->gone.count(path_)) return HidStatus::disconnected;
        bus_->written.emplace_back(path_, report);
        return bus_->nextWrite;
    }
    HidStatus getInputReport(HidReport& report, std::chrono::milliseconds timeout) override {
        bus_->timeouts.push_back(timeout);
        if (bus_->gone.count(path_)) return HidStatus::disconnected;
        if (bus_->nextRead == HidStatus::ok) report = bus_->readReport;
        return bus_->nextRead;
    }
    std::unique_ptr<HidHandle> duplicate() const override {
        if (bus_->gone.count(path_)) return nullptr;
        return std::make_unique<FakeHandle>(bus_, path_);
    }
    const std::string& path() const { return path_; }

private:
    std::shared_ptr<FakeBus> bus_;
    std::string path_;
};

class FakeBackend : public HidBackend {
public:
    std::shared_ptr<FakeBus> bus = std::make_shared<FakeBus>();

    std::optional<std::vector<std::string>> enumerate() override {
        if (bus->enumerationFails) return std::nullopt;
        return bus->paths;
    }
    std::unique_ptr<HidHandle> open(const std::string& path) override {
        if (bus->unopenable.count(path)) return nullptr;
        return std::make_unique<FakeHandle>(bus, path);
    }
    std::unique_ptr<HotplugMonitor> watch(std::function<void()>) override { return nullptr; }
    // Private to the test unless a test checks the claims between programs.
    bool sharedWithOtherProcesses() const override { return shared; }
    bool shared = false;
};

} // namespace tovan::test
