#pragma once

// The shared half of the hot-plug monitors: a thread that waits on one file
// descriptor (a udev monitor, an inotify watch), drains it, and once the burst
// has been quiet for a moment calls back once. Devices come with several
// events each (interface, hidraw node, ...); the editor should re-scan once.

#include "platform/hid_backend.h"

#include <chrono>
#include <functional>
#include <thread>

namespace tovan {

class HotplugThread : public HotplugMonitor {
public:
    // `drain` reads whatever is waiting on `fd` and returns true when it held a
    // change worth reporting; `release` frees the fd's owner once the thread
    // has stopped.
    HotplugThread(int fd, std::function<bool()> drain, std::function<void()> release,
                  std::function<void()> devicesChanged,
                  std::chrono::milliseconds quiet = std::chrono::milliseconds(150));
    ~HotplugThread() override;
    HotplugThread(const HotplugThread&) = delete;
    HotplugThread& operator=(const HotplugThread&) = delete;

private:
    void run();

    int fd_;
    int stopFd_;
    std::function<bool()> drain_;
    std::function<void()> release_;
    std::function<void()> devicesChanged_;
    std::chrono::milliseconds quiet_;
    std::thread thread_;
};

} // namespace tovan
