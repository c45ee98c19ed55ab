#include "link/pedal_setlists.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "link/pedal_view.h"
#include "link/tovan_process.h"
#include "model/parameter_rounding.h"
#include "model/pedal_parameters.h"

using namespace tovan;

namespace {

constexpr int32_t kSetlistNameTag = ptag::kSetlistName;
constexpr int32_t kFirstPresetTag = ptag::kFirstSlotPreset;
constexpr int32_t kFirstProgramTag = ptag::kFirstSlotProgram;
constexpr int32_t kFirstSlotButtonTag = ptag::kFirstSlotButton;
constexpr int32_t kPageSlots = ptag::kSetlistPageSlots;

} // namespace

PedalSetlists::PedalSetlists(TovanProcess& process, LinkState& state) : process(process), state(state) {}

bool PedalSetlists::read(bool patient) {
    const auto ask = [&](uint16_t command, const PedalExchange::Address& address) {
        return patient ? process.exchange().requestPatiently(proto::kGroupSetlist, command, address)
                       : process.exchange().request(proto::kGroupSetlist, command, address);
    };
    table.clear();
    const auto count = ask(proto::setlist::kCount, {});
    const auto slots = ask(proto::setlist::kSlotCount, {});
    setlistCount = count ? (*count)[0] : 0;
    slotsPerList = slots ? (*slots)[0] : 0;
    if (count) setActiveSetlistRange(*process.parameters(), setlistCount);
    bool whole = count && slots;
    if (setlistCount == 0 || slotsPerList == 0) return whole;

    table.resize(setlistCount);
    for (uint8_t s = 0; s < setlistCount; ++s) {
        // A pedal that is gone is not asked the thousands of questions left.
        if (process.exchange().pedalGone()) return false;
        Record& record = table[s];
        record.slots.assign(2u * slotsPerList, 0);
        const auto flag = ask(proto::setlist::kFlag, {s, 0, 0, 0});
        record.flag = flag && (*flag)[0] != 0;
        whole = whole && flag;
        for (uint8_t part = 0; part < 2; ++part) {
            const auto name = ask(proto::setlist::kName, {s, part, 0, 0});
            if (name) std::memcpy(record.name.data() + 16 * part, name->data(), 16);
            whole = whole && name;
        }
        for (uint8_t k = 0; k < slotsPerList; ++k) {
            const auto preset = ask(proto::setlist::kSlotPreset, {s, k, 0, 0});
            if (preset) record.slots[2u * k] = (*preset)[0];
            const auto program = ask(proto::setlist::kSlotProgram, {s, k, 0, 0});
            if (program) record.slots[2u * k + 1] = (*program)[0];
            whole = whole && preset && program;
        }
    }
    return whole;
}

void PedalSetlists::applyEdit(int32_t index, int32_t value) {
    const int32_t active = truncateToInt32(process.parameters()->GetValue(kActiveSetlist));
    if (active == 0) return;
    const int32_t setlist = active - 1;
    const bool known = setlist < static_cast<int32_t>(table.size());
    const auto address = [&](int32_t slot) {
        return PedalExchange::Address{static_cast<uint8_t>(setlist), static_cast<uint8_t>(slot), 0, 0};
    };

    if (index >= kFirstPresetTag && index < kFirstPresetTag + kPageSlots) {
        const int32_t slot = index - kFirstPresetTag;
        if (!known || slot >= slotsPerList) return;
        table[static_cast<size_t>(setlist)].slots[static_cast<size_t>(2 * slot)] =
            static_cast<uint8_t>(value);
        if (state.fillingSetlistPage || state.echoSuppressed) return;
        proto::Payload data{};
        data[0] = static_cast<uint8_t>(value);
        process.exchange().write(proto::kGroupSetlist, proto::setlist::kSlotPreset, address(slot), data);
    } else if (index >= kFirstProgramTag && index < kFirstProgramTag + kPageSlots) {
        const int32_t slot = index - kFirstProgramTag;
        if (!known || slot >= slotsPerList) return;
        table[static_cast<size_t>(setlist)].slots[static_cast<size_t>(2 * slot + 1)] =
            static_cast<uint8_t>(value);
        if (state.fillingSetlistPage || state.echoSuppressed) return;
        proto::Payload data{};
        data[0] = static_cast<uint8_t>(value);
        process.exchange().write(proto::kGroupSetlist, proto::setlist::kSlotProgram, address(slot), data);
    } else if (index == kSetlistNameTag) {
        // Names only go to setlists the pedal has.
        if (!known || state.fillingSetlistPage || state.echoSuppressed || state.view == nullptr) return;
        std::array<char, 33> name{};
        const std::string text = state.view->controlText(kSetlistNameTag);
        std::memcpy(name.data(), text.data(), std::min<size_t>(text.size(), 32));
        table[static_cast<size_t>(setlist)].name = name;
        for (uint8_t part = 0; part < 2; ++part) {
            proto::Payload data{};
            std::memcpy(data.data(), name.data() + 16 * part, 16);
            process.exchange().write(proto::kGroupSetlist, proto::setlist::kName,
                                     {static_cast<uint8_t>(setlist), part, 0, 0}, data);
        }
    } else if (index >= kFirstSlotButtonTag && index < kFirstSlotButtonTag + kPageSlots && value > 0 &&
               !state.echoSuppressed) {
        const int32_t slot = index - kFirstSlotButtonTag;
        const bool filled = known && slot < slotsPerList &&
                            table[static_cast<size_t>(setlist)].preset(slot) != proto::kEmptySlot;
        if (!filled) {
            if (state.view != nullptr) state.view->setControlValueQuiet(index, 0);
            return;
        }
        process.presets().select(table[static_cast<size_t>(setlist)].preset(slot));
        if (state.view != nullptr)
            for (int32_t k = 0; k < kPageSlots; ++k)
                if (k != slot) state.view->setControlValueQuiet(kFirstSlotButtonTag + k, 0);
    }
}

void PedalSetlists::refreshPage() {
    const int32_t active = truncateToInt32(process.parameters()->GetValue(kActiveSetlist));
    if (active <= 0 || active - 1 >= static_cast<int32_t>(table.size()) || state.view == nullptr) return;
    const Record& record = table[static_cast<size_t>(active - 1)];
    state.fillingSetlistPage = true;
    for (int32_t k = 0; k < kPageSlots; ++k) {
        const bool present = k < slotsPerList;
        state.view->setControlVisible(kFirstPresetTag + k, present);
        state.view->setControlVisible(kFirstProgramTag + k, present);
        if (!present) continue;
        state.view->setControlValue(kFirstPresetTag + k, record.preset(k));
        state.view->setControlValue(kFirstProgramTag + k, record.program(k));
    }
    state.view->setControlText(kSetlistNameTag, record.name.data());
    state.view->setlistFlagChanged(record.flag);
    state.fillingSetlistPage = false;
}
