#include "link/pedal_exchange.h"

#include <algorithm>
#include <thread>

#include "link/pedal_view.h"

using namespace tovan;

PedalExchange::PedalExchange(LinkState& state)
    : state(state), sleep([](std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }) {
}

bool PedalExchange::transact(CHidDevice& device, uint8_t direction, uint8_t group, uint16_t command,
                             const Address& address, proto::Payload& data) {
    proto::Header header;
    header.direction = direction;
    header.group = group;
    header.command = command;
    header.address = address;
    const proto::Payload headerReport = proto::encodeHeader(header);
    ++exchangeCount;
    if (readingShown >= 0) showReadingProgress();
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!writeReport(device, headerReport)) {
            if (device.lastStatus() == HidStatus::disconnected) break;
            continue;
        }
        const bool done = direction == proto::kWrite ? writeReport(device, data) : readReport(device, data);
        if (done) return true;
        if (device.lastStatus() == HidStatus::disconnected) break;
    }
    ++exchangeFailures;
    return false;
}

void PedalExchange::showReadingProgress() {
    const uint64_t done = exchangeCount - readingFrom;
    const auto percent =
        static_cast<int32_t>(std::min<uint64_t>(99, done * 100 / std::max<uint64_t>(1, readingExpected)));
    if (percent == readingShown || state.view == nullptr) return;
    const uint32_t now = state.clock->milliseconds();
    if (now - readingShownAt < kReadingStepMs) return;
    readingShown = percent;
    readingShownAt = now;
    state.view->showReading(percent);
}

void PedalExchange::beginReading() {
    readingFrom = exchangeCount;
    readingShown = 0;
    readingShownAt = state.clock->milliseconds();
    if (state.view != nullptr) state.view->showReading(0);
}

void PedalExchange::endReading() {
    if (exchangeCount > readingFrom) readingExpected = exchangeCount - readingFrom;
    readingShown = -1;
    if (state.view != nullptr) state.view->showReading(-1);
}

bool PedalExchange::write(uint8_t group, uint16_t command, const Address& address, proto::Payload data) {
    return transact(state.current, proto::kWrite, group, command, address, data);
}

std::optional<proto::Payload> PedalExchange::request(uint8_t group, uint16_t command,
                                                     const Address& address) {
    proto::Payload answer{};
    if (!transact(state.current, proto::kRequest, group, command, address, answer)) return std::nullopt;
    return answer;
}

bool PedalExchange::pedalGone() const {
    return !state.connected || state.current.lastStatus() == HidStatus::disconnected;
}

std::optional<proto::Payload> PedalExchange::requestPatiently(uint8_t group, uint16_t command,
                                                              const Address& address) {
    for (int round = 0; round < 2 && !pedalGone(); ++round)
        if (auto answer = request(group, command, address)) return answer;
    return std::nullopt;
}

bool PedalExchange::writePatiently(uint8_t group, uint16_t command, const Address& address,
                                   const proto::Payload& data) {
    for (int round = 0; round < 2 && !pedalGone(); ++round)
        if (write(group, command, address, data)) return true;
    return false;
}
