#include "platform/hid/sim/sim_backend.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <thread>

namespace tovan {

using std::chrono::microseconds;
using std::chrono::milliseconds;

namespace {

struct Slot {
    std::unique_ptr<sim::SimPedal> pedal;
    bool plugged = true;
    bool announcedGone = false;
};

} // namespace

struct SimHidBackend::State {
    std::mutex mutex;
    std::vector<std::shared_ptr<Slot>> slots;
    std::vector<std::pair<int, std::function<void()>>> watchers;
    int nextWatcher = 0;
    microseconds latency{0};

    static std::string pathFor(size_t index, const sim::SimPedal& pedal) {
        char text[96];
        std::snprintf(text, sizeof text, "sim:%zu#vid_%04x&pid_%04x&serial_%04u", index, proto::kVendorId,
                      pedal.inUpdateMode() ? proto::kUpdateProductId : proto::kProductId, pedal.serial());
        return text;
    }

    void notify() {
        std::vector<std::function<void()>> callbacks;
        {
            std::lock_guard lock(mutex);
            for (auto& watcher : watchers)
                callbacks.push_back(watcher.second);
        }
        for (auto& callback : callbacks)
            callback();
    }
};

namespace {

// A report takes exactly its latency: sleep most of it, then yield until the
// deadline, so the scheduler's wake-up delay does not pile up over the
// thousands of reports of a reload.
void waitPrecisely(microseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    constexpr microseconds kSpin{200};
    if (wait > kSpin) std::this_thread::sleep_until(deadline - kSpin);
    while (std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
}

class SimHandle : public HidHandle {
public:
    SimHandle(std::shared_ptr<SimHidBackend::State> state, std::shared_ptr<Slot> slot)
        : state_(std::move(state)), slot_(std::move(slot)) {}

    HidStatus write(const HidReport& report, milliseconds timeout) override {
        return exchange(timeout, [&](sim::SimPedal& pedal) {
            proto::Payload payload;
            std::copy(report.begin() + 1, report.end(), payload.begin());
            return report[0] == 0 && pedal.handleOutputReport(payload);
        });
    }

    HidStatus getInputReport(HidReport& report, milliseconds timeout) override {
        proto::Payload answer{};
        const HidStatus status =
            exchange(timeout, [&](sim::SimPedal& pedal) { return pedal.fetchInputReport(answer); });
        if (status == HidStatus::ok) {
            report[0] = 0;
            std::copy(answer.begin(), answer.end(), report.begin() + 1);
        }
        return status;
    }

    std::unique_ptr<HidHandle> duplicate() const override {
        std::lock_guard lock(state_->mutex);
        if (!alive()) return nullptr;
        return std::make_unique<SimHandle>(state_, slot_);
    }

private:
    bool alive() const {
        return slot_->plugged && !slot_->pedal->unplugged() && !slot_->pedal->inUpdateMode();
    }

    template <typename Deliver>
    HidStatus exchange(milliseconds timeout, Deliver deliver) {
        HidStatus status = HidStatus::ok;
        microseconds wait{0};
        bool gone = false;
        {
            std::lock_guard lock(state_->mutex);
            if (!alive()) return HidStatus::disconnected;
            wait = state_->latency;
            switch (slot_->pedal->nextFate()) {
            case sim::Fate::fail:
                status = HidStatus::failed;
                break;
            case sim::Fate::drop:
                status = HidStatus::timedOut;
                wait = timeout;
                break;
            case sim::Fate::late:
                wait += microseconds(slot_->pedal->faults().lateMicros);
                if (wait > timeout) {
                    // Cancelled before the pedal took it.
                    status = HidStatus::timedOut;
                    wait = timeout;
                    break;
                }
                [[fallthrough]];
            case sim::Fate::deliver:
                if (!deliver(*slot_->pedal)) status = HidStatus::failed;
                break;
            }
            if (!alive() && !slot_->announcedGone) {
                slot_->announcedGone = true;
                gone = true;
            }
        }
        if (wait.count() > 0) waitPrecisely(wait);
        if (gone) state_->notify();
        return status;
    }

    std::shared_ptr<SimHidBackend::State> state_;
    std::shared_ptr<Slot> slot_;
};

class SimMonitor : public HotplugMonitor {
public:
    SimMonitor(std::shared_ptr<SimHidBackend::State> state, int id) : state_(std::move(state)), id_(id) {}
    ~SimMonitor() override {
        std::lock_guard lock(state_->mutex);
        std::erase_if(state_->watchers, [&](const auto& watcher) { return watcher.first == id_; });
    }

private:
    std::shared_ptr<SimHidBackend::State> state_;
    int id_;
};

} // namespace

SimHidBackend::SimHidBackend(int count) : state_(std::make_shared<State>()) {
    for (int i = 0; i < count; ++i) {
        sim::SimOptions options;
        options.serial = static_cast<unsigned>(i + 1);
        if (count > 1) options.name = "Tovan " + std::to_string(i + 1);
        auto slot = std::make_shared<Slot>();
        slot->pedal = std::make_unique<sim::SimPedal>(options);
        state_->slots.push_back(std::move(slot));
    }
}

SimHidBackend::~SimHidBackend() = default;

std::optional<std::vector<std::string>> SimHidBackend::enumerate() {
    std::lock_guard lock(state_->mutex);
    std::vector<std::string> paths;
    for (size_t i = 0; i < state_->slots.size(); ++i) {
        const Slot& slot = *state_->slots[i];
        if (slot.plugged && !slot.pedal->unplugged()) paths.push_back(State::pathFor(i, *slot.pedal));
    }
    return paths;
}

std::unique_ptr<HidHandle> SimHidBackend::open(const std::string& path) {
    std::lock_guard lock(state_->mutex);
    for (size_t i = 0; i < state_->slots.size(); ++i) {
        const auto& slot = state_->slots[i];
        if (slot->plugged && !slot->pedal->unplugged() && !slot->pedal->inUpdateMode() &&
            State::pathFor(i, *slot->pedal) == path)
            return std::make_unique<SimHandle>(state_, slot);
    }
    return nullptr;
}

std::unique_ptr<HotplugMonitor> SimHidBackend::watch(std::function<void()> devicesChanged) {
    std::lock_guard lock(state_->mutex);
    const int id = state_->nextWatcher++;
    state_->watchers.emplace_back(id, std::move(devicesChanged));
    return std::make_unique<SimMonitor>(state_, id);
}

size_t SimHidBackend::plug(std::unique_ptr<sim::SimPedal> pedal) {
    size_t index;
    {
        std::lock_guard lock(state_->mutex);
        auto slot = std::make_shared<Slot>();
        slot->pedal = std::move(pedal);
        state_->slots.push_back(std::move(slot));
        index = state_->slots.size() - 1;
    }
    state_->notify();
    return index;
}

void SimHidBackend::unplug(size_t index) {
    {
        std::lock_guard lock(state_->mutex);
        if (index >= state_->slots.size()) return;
        state_->slots[index]->plugged = false;
        state_->slots[index]->announcedGone = true;
    }
    state_->notify();
}

size_t SimHidBackend::pedalCount() const {
    std::lock_guard lock(state_->mutex);
    return state_->slots.size();
}

sim::SimPedal& SimHidBackend::pedal(size_t index) {
    std::lock_guard lock(state_->mutex);
    return *state_->slots.at(index)->pedal;
}

std::string SimHidBackend::pathOf(size_t index) const {
    std::lock_guard lock(state_->mutex);
    return State::pathFor(index, *state_->slots.at(index)->pedal);
}

void SimHidBackend::setLatency(microseconds latency) {
    std::lock_guard lock(state_->mutex);
    state_->latency = latency;
}

} // namespace tovan
