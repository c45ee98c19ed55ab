#include "platform/hid/hidapi/hidapi_backend.h"

#include "platform/hid/hotplug_thread.h"
#include "platform/trace.h"

#include <hidapi/hidapi.h>
#include <libudev.h>

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <mutex>
#include <set>
#include <thread>

namespace tovan {
namespace {

using std::chrono::milliseconds;

constexpr std::string_view kPrefix = "hidraw:";

// Errors with which the kernel says the device itself is gone (unplugged, or
// its USB port reset), as opposed to one report that failed.
bool meansGone(int error) {
    return error == ENODEV || error == ENXIO || error == EIO || error == ESHUTDOWN;
}

// The state one handle shares with its worker thread. The worker owns the
// device from the start: it closes it after its last operation, so a handle
// can be dropped while the kernel still holds an operation.
struct Worker {
    explicit Worker(hid_device* device) : device(device) {}

    hid_device* device;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable done;
    std::function<int()> job; // returns 0 on success, else the system's error number
    uint64_t posted = 0;
    uint64_t finished = 0;
    int error = 0;
    bool stopping = false;

    void run() {
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [&] { return stopping || job; });
            if (!job) break;
            auto current = job;
            lock.unlock();
            const int outcome = current();
            lock.lock();
            error = outcome;
            job = nullptr;
            ++finished;
            done.notify_all();
        }
        lock.unlock();
        hid_close(device);
    }
};

// hidraw writes and input-report requests block in the kernel (bounded by the
// USB stack's own time-outs) and cannot be cancelled. Each handle runs them on
// its own worker thread, so that a caller waits no longer than its time-out;
// an abandoned operation finishes in the background, and the next one waits
// for it first, so there is never more than one in flight. Closing a handle
// never waits for the kernel: the worker finishes and closes on its own.
class HidapiHandle : public HidHandle {
public:
    HidapiHandle(hid_device* device, std::string node)
        : worker_(std::make_shared<Worker>(device)), node_(std::move(node)) {
        std::thread([worker = worker_] { worker->run(); }).detach();
    }

    ~HidapiHandle() override {
        {
            std::lock_guard lock(worker_->mutex);
            worker_->stopping = true;
        }
        worker_->wake.notify_all();
    }

    HidStatus write(const HidReport& report, milliseconds timeout) override {
        hid_device* device = worker_->device;
        return run(timeout, [device, report]() mutable {
            errno = 0;
            if (hid_write(device, report.data(), report.size()) >= 0) return 0;
            return errno != 0 ? errno : EIO;
        });
    }

    HidStatus getInputReport(HidReport& report, milliseconds timeout) override {
        auto buffer = std::make_shared<HidReport>();
        hid_device* device = worker_->device;
        const HidStatus status = run(timeout, [device, buffer] {
            (*buffer)[0] = 0;
            errno = 0;
            if (hid_get_input_report(device, buffer->data(), buffer->size()) > 0) return 0;
            return errno != 0 ? errno : EIO;
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
    HidStatus run(milliseconds timeout, std::function<int()> job) {
        Worker& worker = *worker_;
        std::unique_lock lock(worker.mutex);
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        // An abandoned operation still in the kernel goes first.
        if (!worker.done.wait_until(lock, deadline, [&] { return !worker.job; })) return HidStatus::timedOut;
        worker.job = std::move(job);
        const uint64_t ticket = ++worker.posted;
        worker.wake.notify_all();
        if (!worker.done.wait_until(lock, deadline, [&] { return worker.finished >= ticket; }))
            return HidStatus::timedOut;
        if (worker.error == 0) return HidStatus::ok;
        // The error the system gave tells an unplugged pedal from a refused
        // report; a node that is still there (or back, for another pedal) does not.
        return meansGone(worker.error) ? HidStatus::disconnected : HidStatus::failed;
    }

    std::shared_ptr<Worker> worker_;
    std::string node_;
};

} // namespace

std::string hidrawNodeOf(const std::string& path) {
    if (path.rfind(kPrefix, 0) != 0) return {};
    const size_t end = path.find('#', kPrefix.size());
    return path.substr(kPrefix.size(), end == std::string::npos ? std::string::npos : end - kPrefix.size());
}

std::string hidrawPathOf(const std::string& node, unsigned short vendor, unsigned short product) {
    char ids[48];
    std::snprintf(ids, sizeof ids, "#vid_%04x&pid_%04x", vendor, product);
    return std::string(kPrefix) + node + ids;
}

HidapiBackend::HidapiBackend() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (hid_init() != 0) tovanTrace("hidapi: hid_init failed\n");
    });
}

std::optional<std::vector<std::string>> HidapiBackend::enumerate() {
    std::vector<std::string> paths;
    // hidapi lists an interface once per top-level collection, all with one path.
    std::set<std::string> seen;
    hid_device_info* list = hid_enumerate(0, 0);
    for (const hid_device_info* info = list; info; info = info->next) {
        if (!seen.insert(info->path).second) continue;
        paths.push_back(hidrawPathOf(info->path, info->vendor_id, info->product_id));
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
