#include "platform/hid/virtual/virtual_backend.h"

#include "platform/hid/hotplug_thread.h"
#include "platform/trace.h"
#include "platform/virtual_bus_frame.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tovan {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr std::string_view kPrefix = "virtual:";
using bus::kOpInput;
using bus::kOpOutput;
static_assert(bus::kReportBytes == kHidReportSize);

int connectTo(const std::string& socketPath) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof address.sun_path) return -1;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

class VirtualHandle : public HidHandle {
public:
    VirtualHandle(std::string socketPath, int fd) : socketPath_(std::move(socketPath)), fd_(fd) {}
    ~VirtualHandle() override { closeSocket(); }

    HidStatus write(const HidReport& report, milliseconds timeout) override {
        return transact(kOpOutput, report, timeout, nullptr);
    }

    HidStatus getInputReport(HidReport& report, milliseconds timeout) override {
        HidReport request{};
        return transact(kOpInput, request, timeout, &report);
    }

    std::unique_ptr<HidHandle> duplicate() const override {
        const int fd = connectTo(socketPath_);
        if (fd < 0) return nullptr;
        return std::make_unique<VirtualHandle>(socketPath_, fd);
    }

private:
    void closeSocket() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        received_.clear();
    }

    // A stream we can no longer parse is dropped; the next operation connects
    // afresh, so one bad answer does not cost the pedal.
    HidStatus desynchronised(const char* why) {
        tovanTrace("virtual bus: %s on %s\n", why, socketPath_.c_str());
        closeSocket();
        return HidStatus::failed;
    }

    HidStatus lost() {
        closeSocket();
        gone_ = true;
        return HidStatus::disconnected;
    }

    HidStatus transact(uint8_t op, const HidReport& report, milliseconds timeout, HidReport* answer) {
        if (gone_) return HidStatus::disconnected;
        if (fd_ < 0) {
            fd_ = connectTo(socketPath_);
            // A pedal busy accepting others (its queue of connections full) is
            // still there; only a socket that refuses or is gone means unplugged.
            if (fd_ < 0) return errno == EAGAIN || errno == EINTR ? HidStatus::failed : lost();
        }
        const auto deadline = Clock::now() + timeout;
        const uint8_t seq = ++seq_;
        uint8_t frame[bus::kRequestSize];
        frame[0] = op;
        frame[1] = seq;
        std::copy(report.begin(), report.end(), frame + bus::kReportAt);
        bus::putSentAt(frame, bus::SendClock::now());

        size_t sent = 0;
        while (sent < sizeof frame) {
            const ssize_t n = ::send(fd_, frame + sent, sizeof frame - sent, MSG_NOSIGNAL);
            if (n > 0) {
                sent += static_cast<size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                pollfd p{fd_, POLLOUT, 0};
                if (::poll(&p, 1, remainingMs(deadline)) > 0) continue;
                // Half a frame on the wire would shift every later frame.
                if (sent > 0) closeSocket();
                return HidStatus::timedOut;
            }
            return lost();
        }

        for (;;) {
            // Take every complete answer that is already here.
            while (!received_.empty()) {
                const uint8_t gotOp = received_[0];
                if (gotOp != kOpOutput && gotOp != kOpInput) return desynchronised("unknown answer");
                const size_t size = gotOp == kOpInput ? bus::kInputAnswerSize : bus::kShortAnswerSize;
                if (received_.size() < size) break;
                const bool ours = gotOp == op && received_[1] == seq;
                const uint8_t status = received_[bus::kStatusAt];
                if (ours && answer && status == 0) {
                    if (received_[bus::kAnswerReportAt] != 0)
                        return desynchronised("input report with another id");
                    std::copy_n(received_.begin() + bus::kAnswerReportAt, kHidReportSize, answer->begin());
                }
                received_.erase(received_.begin(), received_.begin() + static_cast<long>(size));
                if (ours) return status == 0 ? HidStatus::ok : HidStatus::failed;
                // An answer to an operation that was given up on: dropped.
            }
            pollfd p{fd_, POLLIN, 0};
            const int ready = ::poll(&p, 1, remainingMs(deadline));
            if (ready == 0) {
                // The connection is replaced: the answer may still come, late,
                // and with the sequence number wrapping after 256 operations it
                // could be taken for the answer to a later one. A new connection
                // never sees it (and a part of an answer already here would leave
                // the start of the next frame unknown).
                closeSocket();
                return HidStatus::timedOut;
            }
            if (ready < 0) {
                if (errno == EINTR) continue;
                return lost();
            }
            uint8_t buffer[256];
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n == 0) return lost();
            if (n < 0) {
                if (errno == EAGAIN || errno == EINTR) continue;
                return lost();
            }
            received_.insert(received_.end(), buffer, buffer + n);
        }
    }

    std::string socketPath_;
    int fd_;
    uint8_t seq_ = 0;
    bool gone_ = false;
    std::vector<uint8_t> received_;
};

} // namespace

std::string virtualBusFolder(const std::string& explicitFolder) {
    if (!explicitFolder.empty()) return explicitFolder;
    if (const char* dir = std::getenv("TOVAN_VIRTUAL_DIR"); dir && *dir) return dir;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return std::string(runtime) + "/tovan-virtual";
    return "/tmp/tovan-virtual-" + std::to_string(::getuid());
}

VirtualHidBackend::VirtualHidBackend(std::string folder) : folder_(std::move(folder)) {}

std::optional<std::vector<std::string>> VirtualHidBackend::enumerate() {
    std::vector<std::string> paths;
    DIR* dir = ::opendir(folder_.c_str());
    if (!dir) {
        if (errno == ENOENT) return paths; // no folder: no pedals
        return std::nullopt;
    }
    while (const dirent* entry = ::readdir(dir)) {
        // Hidden names are sockets still being set up.
        if (entry->d_name[0] == '.') continue;
        const std::string full = folder_ + "/" + entry->d_name;
        struct stat info {};
        if (::lstat(full.c_str(), &info) == 0 && S_ISSOCK(info.st_mode))
            paths.push_back(std::string(kPrefix) + full);
    }
    ::closedir(dir);
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::unique_ptr<HidHandle> VirtualHidBackend::open(const std::string& path) {
    if (path.rfind(kPrefix, 0) != 0) return nullptr;
    std::string socketPath = path.substr(kPrefix.size());
    const int fd = connectTo(socketPath);
    if (fd < 0) return nullptr;
    return std::make_unique<VirtualHandle>(std::move(socketPath), fd);
}

std::unique_ptr<HotplugMonitor> VirtualHidBackend::watch(std::function<void()> devicesChanged) {
    ::mkdir(folder_.c_str(), 0700);
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) return nullptr;
    if (::inotify_add_watch(fd, folder_.c_str(), IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO) < 0) {
        ::close(fd);
        return nullptr;
    }
    auto drain = [fd] {
        alignas(inotify_event) char buffer[4096];
        bool any = false;
        while (::read(fd, buffer, sizeof buffer) > 0)
            any = true;
        return any;
    };
    return std::make_unique<HotplugThread>(
        fd, drain, [fd] { ::close(fd); }, std::move(devicesChanged));
}

} // namespace tovan
