#include <cmath>

#include "link/tovan_process.h"
#include "model/parameter_kinds.h"
#include "model/parameter_rounding.h"
#include "model/pedal_parameters.h"

using namespace tovan;

namespace {

struct Block {
    uint16_t command;
    uint8_t items;
    uint8_t filter;
};

constexpr Block kBlocks[] = {{5, 5, 0}, {6, 7, 0}, {6, 7, 1}, {7, 32, 0}, {7, 32, 1}, {8, 19, 0}};

TovanProcess::Address itemAddress(uint8_t item, uint8_t filter) {
    return {item, filter, 0, 0};
}

} // namespace

void TovanProcess::sendParameter(int32_t index, float value) {
    if (parameterManager && index != kDeviceName) parameterManager->SetValue(index, value);
    // The pedal's value: the tapers travel offset by 9.
    const float device = value + static_cast<float>(editorToDeviceValue(index, 0));
    if (!connected) return;

    if (index >= kFirstDeviceParameter && index <= kLastDeviceParameter) {
        if (!echoSuppressed) {
            const DeviceField row = *deviceFieldOf(index);
            proto::Payload data{};
            proto::putS16(data.data(), static_cast<int16_t>(truncateToInt32(device)));
            write(proto::kGroupPreset, row.command, itemAddress(row.item, row.filter), data);
        }
        if (index == kActiveSetlist) {
            // The pedal resets its slot itself when it changes setlist; only the
            // player's change is followed by the reset.
            if (!echoSuppressed) write(proto::kGroupSetlist, proto::setlist::kSlotReset, {});
            if (pageView != nullptr)
                for (int32_t tag = ptag::kFirstSlotButton; tag <= ptag::kLastSlotButton; ++tag)
                    pageView->setControlValueQuiet(tag, 0);
            refreshSetlistPage();
        }
        return;
    }
    if (index >= ptag::kFirstSetlistTag && index <= ptag::kLastSetlistTag) {
        applySetlistEdit(index, truncateToInt32(device));
        return;
    }
    // A value that came from the pedal changes nothing on it: no preset is
    // selected, no mode written, no device chosen, no name sent.
    if (echoSuppressed) return;
    switch (index) {
    case kDeviceSelect:
        selectDevice(truncateToInt32(device));
        break;
    case kModeSwitch:
        setPedalMode(device > 0.0f);
        break;
    case kCurrentPreset: {
        if (bulkBusy || reloading) break;
        const auto preset = static_cast<uint8_t>(truncateToInt32(device));
        if (preset != loadedPresetNumber && !confirmDiscard()) {
            // The player kept the edits: the pedal stays on its preset and the
            // selector goes back to it.
            parameterManager->SetValue(kCurrentPreset, static_cast<float>(loadedPresetNumber));
            if (pageView != nullptr)
                pageView->setControlValueQuiet(kCurrentPreset, static_cast<int32_t>(loadedPresetNumber));
            break;
        }
        selectPresetOnPedal(preset);
        break;
    }
    case kDeviceName: {
        proto::Payload name{};
        if (auto* text = dynamic_cast<PARAMETER_FIXEDSTRING*>(parameterManager->Find(kDeviceName)))
            std::copy_n(text->data(), name.size(), name.begin());
        write(proto::kGroupDevice, proto::device::kName, {}, name);
        write(proto::kGroupDevice, proto::device::kNameDone, {});
        refreshDeviceMenu();
        if (pageView != nullptr) pageView->deviceInfoChanged();
        break;
    }
    default:
        break;
    }
}

void TovanProcess::readParameterInfo() {
    readSetlists();
    for (const DeviceField& row : kDeviceMap)
        readParameterInfo(row.index);
}

bool TovanProcess::readParameterInfo(int32_t index) {
    const std::optional<DeviceField> row = deviceFieldOf(index);
    if (!row) return false;
    const auto answer = request(proto::kGroupPreset, row->command, itemAddress(row->item, row->filter));
    if (!answer) return false;
    const int32_t value = deviceToEditorValue(index, proto::getS16(answer->data()));
    const int32_t minimum = deviceToEditorValue(index, proto::getS16(answer->data() + 2));
    const int32_t maximum = deviceToEditorValue(index, proto::getS16(answer->data() + 4));
    // A range that ends before it starts is not a range: the one known stays.
    const bool ranged = minimum <= maximum;
    if (ranged) setParameterRange(*parameterManager, index, minimum, maximum);
    parameterManager->SetValue(index, static_cast<float>(value));
    if (pageView == nullptr || !pageView->hasControl(index)) return true;
    const ReadingPedal reading(*this);
    if (ranged) pageView->setControlRange(index, minimum, maximum, true);
    pageView->forceControlValue(index, value);
    return true;
}

void TovanProcess::readParameterValues() {
    const ReadingPedal reading(*this);
    for (const Block& block : kBlocks) {
        for (uint8_t b = 0; b * proto::kValuesPerBlock < block.items; ++b) {
            const auto answer =
                request(proto::kGroupPreset, block.command, {proto::kBlockRead, block.filter, b, 0});
            if (!answer) continue;
            const size_t remaining = block.items - b * proto::kValuesPerBlock;
            for (size_t k = 0; k < std::min(remaining, proto::kValuesPerBlock); ++k) {
                const auto item = static_cast<uint8_t>(b * proto::kValuesPerBlock + k);
                const int32_t index = parameterAt(block.filter, static_cast<uint8_t>(block.command), item);
                if (index < 0) continue;
                showPedalValue(index, deviceToEditorValue(index, proto::getS16(answer->data() + 2 * k)));
            }
        }
    }
}

bool TovanProcess::readValueBlocks(bool preset, std::map<int32_t, int32_t>& values) {
    for (const Block& block : kBlocks) {
        if ((block.command == proto::preset::kGlobalValues) == preset) continue;
        for (uint8_t b = 0; b * proto::kValuesPerBlock < block.items; ++b) {
            const auto answer =
                requestPatiently(proto::kGroupPreset, block.command, {proto::kBlockRead, block.filter, b, 0});
            if (!answer) return false;
            const size_t remaining = block.items - b * proto::kValuesPerBlock;
            for (size_t k = 0; k < std::min(remaining, proto::kValuesPerBlock); ++k) {
                const auto item = static_cast<uint8_t>(b * proto::kValuesPerBlock + k);
                const int32_t index = parameterAt(block.filter, static_cast<uint8_t>(block.command), item);
                if (index >= 0)
                    values[index] = deviceToEditorValue(index, proto::getS16(answer->data() + 2 * k));
            }
        }
    }
    return true;
}

void TovanProcess::readChangedParameters() {
    const ReadingPedal reading(*this);
    const auto masks = request(proto::kGroupPreset, proto::preset::kChangeMasks);
    if (!masks) return;
    const bool wasReadingChanges = readingChanges;
    readingChanges = true;
    for (uint16_t command = 5; command <= 8; ++command) {
        const uint32_t mask = proto::getU32(masks->data() + 4 * (command - 5));
        for (uint8_t item = 0; item < 32 && (mask >> item) != 0; ++item)
            if ((mask >> item) & 1u) readParameter(command, item);
    }
    readingChanges = wasReadingChanges;
    if (pageView != nullptr) pageView->effectChanged();
}

void TovanProcess::readParameter(uint16_t command, uint8_t item) {
    for (const DeviceField& row : kDeviceMap) {
        if (row.command != command || row.item != item) continue;
        const auto answer = request(proto::kGroupPreset, command, itemAddress(item, row.filter));
        if (!answer) continue;
        const ReadingPedal reading(*this);
        showPedalValue(row.index, deviceToEditorValue(row.index, proto::getS16(answer->data())));
        ParameterChanged(row.index);
        FlushChanges();
    }
}
