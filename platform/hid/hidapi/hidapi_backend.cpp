#include "platform/hid/hidapi/hidapi_backend.h"

#include "platform/hid/hotplug_thread.h"
#include "platform/trace.h"

#include <hidapi/hidapi.h>
#include <libudev.h>

#include <condition_variable>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace tovan {
namespace {

using std::chrono::milliseconds;

constexpr std::string_view kPrefix = "hidraw:";

// hidraw writes and input-report requests block in the kernel (bounded by the
// USB stack's own time-outs) and cannot be cancelled. Each handle runs them on
// its own worker thread, so that a caller waits no longer than its time-out;
// an abandoned operation finishes in the background, and the next one waits
// for it first, so there is never more than one in flight.
class HidapiHandle : public HidHandle {
public:
    HidapiHandle(hid_device* device, std::string node) : device_(device), node_(std::move(node)) {
        worker_ = std::thread([this] { work(); });
    }

    ~HidapiHandle() override {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        worker_.join();
        hid_close(device_);
    }

    HidStatus write(const HidReport& report, milliseconds timeout) override {
        return run(timeout, [this, report]() mutable {
            return hid_write(device_, report.data(), report.size()) >= 0;
        });
    }

    HidStatus getInputReport(HidReport& report, milliseconds timeout) override {
        auto buffer = std::make_shared<HidReport>();
        const HidStatus status = run(timeout, [this, buffer] {
            (*buffer)[0] = 0;
            return hid_get_input_report(device_, buffer->data(), buffer->size()) > 0;
        });
        if (status == HidStatus::ok) report = *buffer;
        return status;
    }

    std::unique_ptr<HidHandle> duplicate() const override {
        hid_device* device = hid_open_path(node_.c_str());
        if (!device) return nullptr;
        return std::make_unique<HidapiHandle>(device, node_);
    }

private:
    HidStatus run(milliseconds timeout, std::function<bool()> job) {
        std::unique_lock lock(mutex_);
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        // An abandoned operation still in the kernel goes first.
        if (!done_.wait_until(lock, deadline, [&] { return !job_; })) return HidStatus::timedOut;
        job_ = std::move(job);
        const uint64_t ticket = ++posted_;
        wake_.notify_all();
        if (!done_.wait_until(lock, deadline, [&] { return finished_ >= ticket; }))
            return HidStatus::timedOut;
        if (result_) return HidStatus::ok;
        // A vanished node means the pedal was unplugged, not that it refused.
        return ::access(node_.c_str(), F_OK) == 0 ? HidStatus::failed : HidStatus::disconnected;
    }

    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [&] { return stopping_ || job_; });
            if (!job_) return;
            auto job = job_;
            lock.unlock();
            const bool ok = job();
            lock.lock();
            result_ = ok;
            job_ = nullptr;
            ++finished_;
            done_.notify_all();
            if (stopping_) return;
        }
    }

    hid_device* device_;
    std::string node_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::function<bool()> job_;
    uint64_t posted_ = 0;
    uint64_t finished_ = 0;
    bool result_ = false;
    bool stopping_ = false;
    std::thread worker_;
};

} // namespace

std::string hidrawNodeOf(const std::string& path) {
    if (path.rfind(kPrefix, 0) != 0) return {};
    const size_t end = path.find('#', kPrefix.size());
    return path.substr(kPrefix.size(), end == std::string::npos ? std::string::npos : end - kPrefix.size());
}

HidapiBackend::HidapiBackend() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (hid_init() != 0) tovanTrace("hidapi: hid_init failed\n");
    });
}

std::optional<std::vector<std::string>> HidapiBackend::enumerate() {
    std::vector<std::string> paths;
    hid_device_info* list = hid_enumerate(0, 0);
    for (const hid_device_info* info = list; info; info = info->next) {
        char ids[48];
        std::snprintf(ids, sizeof ids, "#vid_%04x&pid_%04x", info->vendor_id, info->product_id);
        paths.push_back(std::string(kPrefix) + info->path + ids);
    }
    hid_free_enumeration(list);
    return paths;
}

std::unique_ptr<HidHandle> HidapiBackend::open(const std::string& path) {
    const std::string node = hidrawNodeOf(path);
    if (node.empty()) return nullptr;
    hid_device* device = hid_open_path(node.c_str());
    if (!device) return nullptr;
    return std::make_unique<HidapiHandle>(device, node);
}

std::unique_ptr<HotplugMonitor> HidapiBackend::watch(std::function<void()> devicesChanged) {
    udev* context = udev_new();
    if (!context) return nullptr;
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, "udev");
    if (!monitor || udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        if (monitor) udev_monitor_unref(monitor);
        udev_unref(context);
        return nullptr;
    }
    auto drain = [monitor] {
        bool any = false;
        while (udev_device* device = udev_monitor_receive_device(monitor)) {
            udev_device_unref(device);
            any = true;
        }
        return any;
    };
    auto release = [monitor, context] {
        udev_monitor_unref(monitor);
        udev_unref(context);
    };
    return std::make_unique<HotplugThread>(udev_monitor_get_fd(monitor), drain, release,
                                           std::move(devicesChanged));
}

} // namespace tovan
