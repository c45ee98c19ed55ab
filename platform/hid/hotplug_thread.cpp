#include "platform/hid/hotplug_thread.h"

#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace tovan {

HotplugThread::HotplugThread(int fd, std::function<bool()> drain, std::function<void()> release,
                             std::function<void()> devicesChanged, std::chrono::milliseconds quiet)
    : fd_(fd), stopFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), drain_(std::move(drain)),
      release_(std::move(release)), devicesChanged_(std::move(devicesChanged)), quiet_(quiet) {
    thread_ = std::thread([this] { run(); });
}

HotplugThread::~HotplugThread() {
    const uint64_t one = 1;
    if (::write(stopFd_, &one, sizeof one) < 0) {
        // Nothing else can wake the thread; it still ends at its next event.
    }
    thread_.join();
    ::close(stopFd_);
    if (release_) release_();
}

void HotplugThread::run() {
    bool pending = false;
    for (;;) {
        pollfd fds[2] = {{stopFd_, POLLIN, 0}, {fd_, POLLIN, 0}};
        // While a burst is under way, wait only for it to go quiet.
        const int timeout = pending ? static_cast<int>(quiet_.count()) : -1;
        const int ready = ::poll(fds, 2, timeout);
        if (ready < 0) continue;
        if (fds[0].revents) return;
        if (ready == 0) {
            pending = false;
            devicesChanged_();
            continue;
        }
        if (fds[1].revents & (POLLERR | POLLNVAL)) return;
        if (drain_()) pending = true;
    }
}

} // namespace tovan
