#include "sim/bus_server.h"

#include "platform/trace.h"
#include "platform/virtual_bus_frame.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <type_traits>
#include <unistd.h>

namespace tovan::sim {
namespace {

using bus::kOpInput;
using bus::kOpOutput;
static_assert(bus::kReportBytes == proto::kReportSize);

using Clock = std::chrono::steady_clock;

// The server sleeps until this long before an answer is due and waits out
// the rest on the clock: a poll rounded up to whole milliseconds, plus its
// wake-up delay, made each 1 ms report take 1.1 ms.
constexpr std::chrono::microseconds kSpin{200};

bool sendAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

BusServer::BusServer(std::string folder) : folder_(std::move(folder)) {}

BusServer::~BusServer() {
    stop();
}

bool BusServer::addPedal(std::unique_ptr<SimPedal> pedal, std::string& error) {
    ::mkdir(folder_.c_str(), 0700);
    slots_.push_back(Slot{});
    slots_.back().pedal = std::move(pedal);
    if (!plug(slots_.back(), proto::kProductId, error)) {
        slots_.pop_back();
        return false;
    }
    return true;
}

bool BusServer::plug(Slot& slot, uint16_t product, std::string& error) {
    char name[64];
    std::snprintf(name, sizeof name, "vid_%04x&pid_%04x&serial_%04u", proto::kVendorId, product,
                  slot.pedal->serial());
    const std::string path = folder_ + "/" + name;
    // Bound under a hidden name and renamed once it listens: a program that
    // sees the pedal appear can connect at once, as to a device node that
    // appears when its device is ready.
    const size_t slash = path.rfind('/');
    const std::string binding = path.substr(0, slash + 1) + "." + path.substr(slash + 1) + ".binding";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (binding.size() >= sizeof address.sun_path) {
        error = "socket path too long: " + binding;
        return false;
    }
    std::memcpy(address.sun_path, binding.c_str(), binding.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    ::unlink(path.c_str()); // a socket left behind by a pedal that crashed
    ::unlink(binding.c_str());
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0 ||
        ::rename(binding.c_str(), path.c_str()) != 0) {
        error = path + ": " + std::strerror(errno);
        ::close(fd);
        ::unlink(binding.c_str());
        return false;
    }
    slot.socketPath = path;
    slot.listenFd = fd;
    slot.updateSocket = product != proto::kProductId;
    return true;
}

void BusServer::closeClient(Client& client) {
    if (client.fd >= 0) ::close(client.fd);
    client.fd = -1;
}

void BusServer::unplug(Slot& slot) {
    if (slot.listenFd < 0) return;
    ::close(slot.listenFd);
    slot.listenFd = -1;
    ::unlink(slot.socketPath.c_str());
    for (Client& client : slot.clients) {
        std::erase_if(delayed_, [&](const Delayed& d) { return d.fd == client.fd; });
        closeClient(client);
    }
    slot.clients.clear();
}

void BusServer::stop() {
    for (Slot& slot : slots_)
        unplug(slot);
}

void BusServer::sendOrDelay(int fd, std::vector<uint8_t> bytes, Clock::time_point due) {
    // Answers on one connection leave in the order they were made, each no
    // earlier than its time; other connections are not held up.
    bool queued = false;
    for (const Delayed& entry : delayed_) {
        if (entry.fd != fd) continue;
        queued = true;
        due = std::max(due, entry.due);
    }
    if (!queued && due <= Clock::now()) {
        sendAll(fd, bytes);
        return;
    }
    delayed_.push_back(Delayed{due, fd, std::move(bytes)});
}

void BusServer::sendDue() {
    for (;;) {
        const auto now = Clock::now();
        std::erase_if(delayed_, [&](const Delayed& entry) {
            if (entry.due > now) return false;
            sendAll(entry.fd, entry.bytes);
            return true;
        });
        // The last stretch before an answer is waited out here, on the clock:
        // a poll's wake-up is later than the answer's time by tens of
        // microseconds. Requests on other connections wait at most this long.
        const bool soon = std::any_of(delayed_.begin(), delayed_.end(),
                                      [&](const Delayed& entry) { return entry.due <= now + kSpin; });
        if (!soon) return;
    }
}

void BusServer::handleFrame(Slot& slot, Client& client, const uint8_t* frame, Clock::time_point arrived) {
    const uint8_t op = frame[0];
    const uint8_t seq = frame[1];
    // The report's time runs from when the client sent it. A send time later
    // than now cannot be one and counts as now; a request seen later than its
    // latency after it was sent is answered at once.
    static_assert(std::is_same_v<Clock, bus::SendClock>);
    const auto due = std::clamp(bus::sentAt(frame), arrived - latency_, arrived) + latency_;
    SimPedal& pedal = *slot.pedal;
    if (op != kOpOutput && op != kOpInput) {
        sendOrDelay(client.fd, {op, seq, 1}, due);
        return;
    }
    std::vector<uint8_t> reply{op, seq, 1};
    if (op == kOpInput) reply.resize(bus::kInputAnswerSize, 0);
    if (slot.updateSocket) {
        // The updater's protocol is not ours: every report fails.
        sendOrDelay(client.fd, std::move(reply), due);
        return;
    }

    const Fate fate = pedal.nextFate();
    if (fate == Fate::drop) return;
    if (fate == Fate::fail) {
        sendOrDelay(client.fd, std::move(reply), due);
        return;
    }
    bool ok = false;
    const uint8_t* report = frame + bus::kReportAt;
    if (op == kOpOutput) {
        proto::Payload payload;
        std::copy_n(report + 1, proto::kPayloadSize, payload.begin());
        ok = report[0] == 0 && pedal.handleOutputReport(payload);
    } else {
        proto::Payload answer{};
        ok = pedal.fetchInputReport(answer);
        if (ok) std::copy(answer.begin(), answer.end(), reply.begin() + bus::kAnswerReportAt + 1);
    }
    reply[bus::kStatusAt] = ok ? 0 : 1;
    const auto late = fate == Fate::late ? std::chrono::microseconds(pedal.faults().lateMicros)
                                         : std::chrono::microseconds(0);
    sendOrDelay(client.fd, std::move(reply), due + late);
}

void BusServer::runOnce(std::chrono::milliseconds wait) {
    std::vector<pollfd> fds;
    std::vector<size_t> polledClients;
    for (const Slot& slot : slots_) {
        if (slot.listenFd >= 0) fds.push_back({slot.listenFd, POLLIN, 0});
        for (const Client& client : slot.clients)
            fds.push_back({client.fd, POLLIN, 0});
        polledClients.push_back(slot.clients.size());
    }
    std::chrono::nanoseconds timeout = wait;
    const auto now = Clock::now();
    if (!delayed_.empty()) {
        auto first = delayed_.front().due;
        for (const Delayed& entry : delayed_)
            first = std::min(first, entry.due);
        timeout = std::clamp(std::chrono::nanoseconds(first - now - kSpin), std::chrono::nanoseconds(0),
                             std::chrono::nanoseconds(wait));
    }
    const auto seconds = std::chrono::floor<std::chrono::seconds>(timeout);
    const timespec span{static_cast<time_t>(seconds.count()), static_cast<long>((timeout - seconds).count())};
    const int ready = ::ppoll(fds.data(), fds.size(), &span, nullptr);
    // What the server read in this round arrived no later than now.
    const auto arrived = Clock::now();

    if (ready > 0) {
        size_t at = 0;
        for (size_t s = 0; s < slots_.size(); ++s) {
            Slot& slot = slots_[s];
            const bool listening = slot.listenFd >= 0;
            if (listening && (fds[at++].revents & POLLIN)) {
                const int fd = ::accept4(slot.listenFd, nullptr, nullptr, SOCK_CLOEXEC);
                if (fd >= 0) slot.clients.push_back(Client{fd, {}});
            }
            // Only the clients that were polled; one accepted just now joins next round.
            for (size_t c = 0; c < polledClients[s]; ++c) {
                Client& client = slot.clients[c];
                const short events = fds[at++].revents;
                if (client.fd < 0) continue;
                if (!(events & (POLLIN | POLLHUP | POLLERR))) continue;
                uint8_t buffer[512];
                const ssize_t n = ::recv(client.fd, buffer, sizeof buffer, MSG_DONTWAIT);
                if (n <= 0) {
                    if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
                    std::erase_if(delayed_, [&](const Delayed& d) { return d.fd == client.fd; });
                    closeClient(client);
                    continue;
                }
                client.input.insert(client.input.end(), buffer, buffer + n);
                size_t used = 0;
                while (client.input.size() - used >= bus::kRequestSize && slot.listenFd >= 0) {
                    handleFrame(slot, client, client.input.data() + used, arrived);
                    used += bus::kRequestSize;
                    if (slot.pedal->unplugged() || slot.pedal->inUpdateMode()) break;
                }
                client.input.erase(client.input.begin(), client.input.begin() + static_cast<long>(used));
            }
            std::erase_if(slot.clients, [](const Client& client) { return client.fd < 0; });
        }
    }

    sendDue();

    for (Slot& slot : slots_) {
        if (slot.listenFd < 0) continue;
        const bool pending = std::any_of(delayed_.begin(), delayed_.end(), [&](const Delayed& d) {
            return std::any_of(slot.clients.begin(), slot.clients.end(),
                               [&](const Client& c) { return c.fd == d.fd; });
        });
        if (pending) continue; // the last answer leaves before the pedal does
        if (slot.pedal->unplugged()) {
            tovanTrace("bus server: %s unplugged\n", slot.socketPath.c_str());
            unplug(slot);
        } else if (slot.pedal->inUpdateMode() && !slot.updateSocket) {
            // The pedal leaves the bus and comes back as the updater's device.
            unplug(slot);
            std::string error;
            if (!plug(slot, proto::kUpdateProductId, error)) tovanTrace("bus server: %s\n", error.c_str());
        }
    }
}

std::string BusServer::stateJson() const {
    std::string out = "{\"pedals\":[";
    for (size_t i = 0; i < slots_.size(); ++i) {
        if (i) out += ',';
        std::string state = slots_[i].pedal->stateJson();
        // Splice the bus facts into the pedal's own object.
        state.pop_back();
        out += state + ",\"socket\":\"" + slots_[i].socketPath +
               "\",\"plugged\":" + (slots_[i].listenFd >= 0 ? "true" : "false") + "}";
    }
    return out + "]}";
}

} // namespace tovan::sim
