#include "link/link_values.h"

#include <algorithm>

#include "link/pedal_view.h"
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

PedalExchange::Address itemAddress(uint8_t item, uint8_t filter) {
    return {item, filter, 0, 0};
}

} // namespace

LinkValues::LinkValues(TovanProcess& process, LinkState& state) : process(process), state(state) {}

void LinkValues::sendParameter(int32_t index, float value) {
    if (process.parameters() != nullptr && index != kDeviceName) process.parameters()->SetValue(index, value);
    // The pedal's value: the tapers travel offset by 9.
    const float device = value + static_cast<float>(editorToDeviceValue(index, 0));
    if (!state.connected) return;

    if (index >= kFirstDeviceParameter && index <= kLastDeviceParameter) {
        if (!state.echoSuppressed) {
            const DeviceField row = *deviceFieldOf(index);
            proto::Payload data{};
            proto::putS16(data.data(), static_cast<int16_t>(truncateToInt32(device)));
            process.exchange().write(proto::kGroupPreset, row.command, itemAddress(row.item, row.filter),
                                     data);
        }
        if (index == kActiveSetlist) {
            // The pedal resets its slot itself when it changes setlist; only the
            // player's change is followed by the reset.
            if (!state.echoSuppressed)
                process.exchange().write(proto::kGroupSetlist, proto::setlist::kSlotReset, {});
            if (state.view != nullptr)
                for (int32_t tag = ptag::kFirstSlotButton; tag <= ptag::kLastSlotButton; ++tag)
                    state.view->setControlValueQuiet(tag, 0);
            process.setlists().refreshPage();
        }
        return;
    }
    if (index >= ptag::kFirstSetlistTag && index <= ptag::kLastSetlistTag) {
        process.setlists().applyEdit(index, truncateToInt32(device));
        return;
    }
    // A value that came from the pedal changes nothing on it: no preset is
    // selected, no mode written, no device chosen, no name sent.
    if (state.echoSuppressed) return;
    switch (index) {
    case kDeviceSelect:
        process.session().selectDevice(truncateToInt32(device));
        break;
    case kModeSwitch:
        process.presets().setPedalMode(device > 0.0f);
        break;
    case kCurrentPreset: {
        if (state.bulkBusy || state.reloading) break;
        const auto preset = static_cast<uint8_t>(truncateToInt32(device));
        if (preset != state.loadedPreset && !process.presets().confirmDiscard()) {
            // The player kept the edits: the pedal stays on its preset and the
            // selector goes back to it.
            process.parameters()->SetValue(kCurrentPreset, static_cast<float>(state.loadedPreset));
            if (state.view != nullptr)
                state.view->setControlValueQuiet(kCurrentPreset, static_cast<int32_t>(state.loadedPreset));
            break;
        }
        process.presets().selectOnPedal(preset);
        break;
    }
    case kDeviceName: {
        proto::Payload name{};
        if (auto* text = dynamic_cast<PARAMETER_FIXEDSTRING*>(process.parameters()->Find(kDeviceName)))
            std::copy_n(text->data(), name.size(), name.begin());
        process.exchange().write(proto::kGroupDevice, proto::device::kName, {}, name);
        process.exchange().write(proto::kGroupDevice, proto::device::kNameDone, {});
        process.session().refreshDeviceMenu();
        if (state.view != nullptr) state.view->deviceInfoChanged();
        break;
    }
    default:
        break;
    }
}

void LinkValues::readParameterInfo() {
    process.setlists().read();
    for (const DeviceField& row : kDeviceMap)
        readParameterInfo(row.index);
}

bool LinkValues::readParameterInfo(int32_t index) {
    const std::optional<DeviceField> row = deviceFieldOf(index);
    if (!row) return false;
    const auto answer =
        process.exchange().request(proto::kGroupPreset, row->command, itemAddress(row->item, row->filter));
    if (!answer) return false;
    const int32_t value = deviceToEditorValue(index, proto::getS16(answer->data()));
    const int32_t minimum = deviceToEditorValue(index, proto::getS16(answer->data() + 2));
    const int32_t maximum = deviceToEditorValue(index, proto::getS16(answer->data() + 4));
    // A range that ends before it starts is not a range: the one known stays.
    const bool ranged = minimum <= maximum;
    if (ranged) setParameterRange(*process.parameters(), index, minimum, maximum);
    process.parameters()->SetValue(index, static_cast<float>(value));
    if (state.view == nullptr || !state.view->hasControl(index)) return true;
    const ReadingPedal reading(state);
    if (ranged) state.view->setControlRange(index, minimum, maximum, true);
    state.view->forceControlValue(index, value);
    return true;
}

void LinkValues::readParameterValues() {
    const ReadingPedal reading(state);
    for (const Block& block : kBlocks) {
        for (uint8_t b = 0; b * proto::kValuesPerBlock < block.items; ++b) {
            const auto answer = process.exchange().request(proto::kGroupPreset, block.command,
                                                           {proto::kBlockRead, block.filter, b, 0});
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

bool LinkValues::readValueBlocks(bool preset, std::map<int32_t, int32_t>& values) {
    for (const Block& block : kBlocks) {
        if ((block.command == proto::preset::kGlobalValues) == preset) continue;
        for (uint8_t b = 0; b * proto::kValuesPerBlock < block.items; ++b) {
            const auto answer = process.exchange().requestPatiently(proto::kGroupPreset, block.command,
                                                                    {proto::kBlockRead, block.filter, b, 0});
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

void LinkValues::readChangedParameters() {
    const ReadingPedal reading(state);
    const auto masks = process.exchange().request(proto::kGroupPreset, proto::preset::kChangeMasks);
    if (!masks) return;
    const bool wasReadingChanges = state.readingChanges;
    state.readingChanges = true;
    for (uint16_t command = 5; command <= 8; ++command) {
        const uint32_t mask = proto::getU32(masks->data() + 4 * (command - 5));
        for (uint8_t item = 0; item < 32 && (mask >> item) != 0; ++item)
            if ((mask >> item) & 1u) readParameter(command, item);
    }
    state.readingChanges = wasReadingChanges;
    if (state.view != nullptr) state.view->effectChanged();
}

void LinkValues::readParameter(uint16_t command, uint8_t item) {
    for (const DeviceField& row : kDeviceMap) {
        if (row.command != command || row.item != item) continue;
        const auto answer =
            process.exchange().request(proto::kGroupPreset, command, itemAddress(item, row.filter));
        if (!answer) continue;
        const ReadingPedal reading(state);
        showPedalValue(row.index, deviceToEditorValue(row.index, proto::getS16(answer->data())));
        process.ParameterChanged(row.index);
        process.FlushChanges();
    }
}

bool LinkValues::writeKnownValue(int32_t index, int32_t value, std::map<int32_t, int32_t>& known) {
    const std::optional<DeviceField> row = deviceFieldOf(index);
    if (!row) return true;
    PARAMETER_MANAGER* parameters = process.parameters();
    const int32_t minimum = parameters->GetIntMin(index);
    const int32_t maximum = parameters->GetIntMax(index);
    if (maximum >= minimum) value = std::clamp(value, minimum, maximum);
    // The edit buffer still holds what the last preset stored: only changes
    // go out, as turning the controls would send them.
    const auto held = known.find(index);
    if (held != known.end() && held->second == value && index != kActiveSetlist) return true;
    proto::Payload data{};
    proto::putS16(data.data(), static_cast<int16_t>(value + editorToDeviceValue(index, 0)));
    PedalExchange& exchange = process.exchange();
    if (!exchange.writePatiently(proto::kGroupPreset, row->command, {row->item, row->filter, 0, 0}, data)) {
        known.erase(index);
        return false;
    }
    known[index] = value;
    parameters->SetValue(index, static_cast<float>(value));
    if (state.view != nullptr && state.view->hasControl(index))
        state.view->setControlValueQuiet(index, value);
    if (index == kActiveSetlist)
        return exchange.writePatiently(proto::kGroupSetlist, proto::setlist::kSlotReset, {});
    return true;
}

void LinkValues::showPedalValue(int32_t index, int32_t value) {
    // The parameter set always follows the pedal, whether or not a control shows
    // the value: files and the command-line tool read it from there.
    if (PARAMETER_MANAGER* parameters = process.parameters())
        parameters->SetValue(index, static_cast<float>(value));
    if (state.view == nullptr || !state.view->hasControl(index)) return;
    const ReadingPedal reading(state);
    state.view->setControlValue(index, value);
}
