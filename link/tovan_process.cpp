#include "link/tovan_process.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "model/pedal_parameters.h"
#include "platform/trace.h"

using namespace tovan;

TovanProcess::TovanProcess(HidBackend& backend, PedalView* view)
    : backend(backend), pageView(view),
      sleep([](std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }) {}

TovanProcess::~TovanProcess() {
    setlistTable.clear();
    current.close();
    attached.clear();
}

void TovanProcess::BuildParameters() {
    parameterManager = buildPedalParameterSet(this);
}

bool TovanProcess::transact(CHidDevice& device, uint8_t direction, uint8_t group, uint16_t command,
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

void TovanProcess::showReadingProgress() {
    const uint64_t done = exchangeCount - readingFrom;
    const auto percent =
        static_cast<int32_t>(std::min<uint64_t>(99, done * 100 / std::max<uint64_t>(1, readingExpected)));
    if (percent == readingShown || pageView == nullptr) return;
    readingShown = percent;
    pageView->showReading(percent);
}

bool TovanProcess::write(uint8_t group, uint16_t command, const Address& address, proto::Payload data) {
    return transact(current, proto::kWrite, group, command, address, data);
}

std::optional<proto::Payload> TovanProcess::request(uint8_t group, uint16_t command, const Address& address) {
    proto::Payload answer{};
    if (!transact(current, proto::kRequest, group, command, address, answer)) return std::nullopt;
    return answer;
}

bool TovanProcess::connectPedal() {
    const int result = scanDevices(backend, pedalPattern(), current, attached);
    const bool changed = result != 2;
    if (changed) connected = result == 1;
    refreshDeviceMenu();
    return changed;
}

void TovanProcess::refreshDeviceMenu() {
    const ReadingPedal reading(*this);
    if (pageView != nullptr) pageView->clearMenu(kDeviceSelect);
    int32_t selected = 0;
    std::vector<CHidDevice>& pedals = attached;
    for (size_t i = 0; i < pedals.size(); ++i) {
        // A pedal another program holds is listed, and not asked anything.
        if (const auto& holder = pedals[i].heldBy()) {
            if (pageView != nullptr)
                pageView->addMenuItem(kDeviceSelect, "in use by " + holder->text(), {},
                                      static_cast<int32_t>(i));
            continue;
        }
        proto::Payload answer{};
        if (!transact(pedals[i], proto::kRequest, proto::kGroupDevice, proto::device::kName, {}, answer))
            continue;
        const std::string name(reinterpret_cast<const char*>(answer.data()),
                               strnlen(reinterpret_cast<const char*>(answer.data()), 16));
        if (pageView != nullptr) pageView->addMenuItem(kDeviceSelect, name, {}, static_cast<int32_t>(i));
        if (pedals[i].path() == current.path()) selected = static_cast<int32_t>(i);
    }
    // The link chose the current pedal itself: showing it must not select it
    // again (which would read the whole pedal a second time).
    if (parameterManager) parameterManager->SetValue(kDeviceSelect, static_cast<float>(selected));
    if (pageView != nullptr) {
        pageView->setControlValueQuiet(kDeviceSelect, selected);
        const std::optional<ClaimHolder> holder = pedalHeldElsewhere();
        pageView->showPedalHeld(holder ? holder->text() : std::string());
        pageView->invalidatePage();
    }
}

std::optional<ClaimHolder> TovanProcess::pedalHeldElsewhere() const {
    if (connected) return std::nullopt;
    for (const CHidDevice& pedal : attached)
        if (pedal.heldBy()) return pedal.heldBy();
    return std::nullopt;
}

bool TovanProcess::useDevice(int32_t index) {
    std::vector<CHidDevice>& pedals = attached;
    if (index < 0 || static_cast<size_t>(index) >= pedals.size()) return false;
    if (pedals[static_cast<size_t>(index)].heldBy()) return false;
    if (pedals[static_cast<size_t>(index)].path() != current.path() || !current.isOpen())
        current = pedals[static_cast<size_t>(index)];
    connected = current.isOpen();
    return connected;
}

void TovanProcess::selectDevice(int32_t index) {
    if (!useDevice(index)) return;
    reloadLocked(true);
}

bool TovanProcess::enterUpdateMode() {
    return write(proto::kGroupDevice, proto::device::kEnterUpdate, {});
}

void TovanProcess::showPedalValue(int32_t index, int32_t value) {
    // The parameter set always follows the pedal, whether or not a control shows
    // the value: files and the command-line tool read it from there.
    if (parameterManager) parameterManager->SetValue(index, static_cast<float>(value));
    if (pageView == nullptr || !pageView->hasControl(index)) return;
    const ReadingPedal reading(*this);
    pageView->setControlValue(index, value);
}
