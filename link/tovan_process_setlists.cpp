#include <cstring>

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

bool TovanProcess::readSetlists(bool patient) {
    const auto ask = [&](uint16_t command, const Address& address) {
        return patient ? requestPatiently(proto::kGroupSetlist, command, address)
                       : request(proto::kGroupSetlist, command, address);
    };
    setlistTable.clear();
    const auto count = ask(proto::setlist::kCount, {});
    const auto slots = ask(proto::setlist::kSlotCount, {});
    setlistCountValue = count ? (*count)[0] : 0;
    slotsPerSetlistValue = slots ? (*slots)[0] : 0;
    if (count) setActiveSetlistRange(*parameterManager, setlistCountValue);
    bool whole = count && slots;
    if (setlistCountValue == 0 || slotsPerSetlistValue == 0) return whole;

    setlistTable.resize(setlistCountValue);
    for (uint8_t s = 0; s < setlistCountValue; ++s) {
        // A pedal that is gone is not asked the thousands of questions left.
        if (pedalGone()) return false;
        SetlistRecord& record = setlistTable[s];
        record.slots.assign(2u * slotsPerSetlistValue, 0);
        const auto flag = ask(proto::setlist::kFlag, {s, 0, 0, 0});
        record.flag = flag && (*flag)[0] != 0;
        whole = whole && flag;
        for (uint8_t part = 0; part < 2; ++part) {
            const auto name = ask(proto::setlist::kName, {s, part, 0, 0});
            if (name) std::memcpy(record.name.data() + 16 * part, name->data(), 16);
            whole = whole && name;
        }
        for (uint8_t k = 0; k < slotsPerSetlistValue; ++k) {
            const auto preset = ask(proto::setlist::kSlotPreset, {s, k, 0, 0});
            if (preset) record.slots[2u * k] = (*preset)[0];
            const auto program = ask(proto::setlist::kSlotProgram, {s, k, 0, 0});
            if (program) record.slots[2u * k + 1] = (*program)[0];
            whole = whole && preset && program;
        }
    }
    return whole;
}

void TovanProcess::applySetlistEdit(int32_t index, int32_t value) {
    const int32_t active = truncateToInt32(parameterManager->GetValue(kActiveSetlist));
    if (active == 0) return;
    const int32_t setlist = active - 1;
    const bool known = setlist < static_cast<int32_t>(setlistTable.size());
    const auto address = [&](int32_t slot) {
        return Address{static_cast<uint8_t>(setlist), static_cast<uint8_t>(slot), 0, 0};
    };

    if (index >= kFirstPresetTag && index < kFirstPresetTag + kPageSlots) {
        const int32_t slot = index - kFirstPresetTag;
        if (!known || slot >= slotsPerSetlistValue) return;
        setlistTable[static_cast<size_t>(setlist)].slots[static_cast<size_t>(2 * slot)] =
            static_cast<uint8_t>(value);
        if (fillingSetlistPage || echoSuppressed) return;
        proto::Payload data{};
        data[0] = static_cast<uint8_t>(value);
        write(proto::kGroupSetlist, proto::setlist::kSlotPreset, address(slot), data);
    } else if (index >= kFirstProgramTag && index < kFirstProgramTag + kPageSlots) {
        const int32_t slot = index - kFirstProgramTag;
        if (!known || slot >= slotsPerSetlistValue) return;
        setlistTable[static_cast<size_t>(setlist)].slots[static_cast<size_t>(2 * slot + 1)] =
            static_cast<uint8_t>(value);
        if (fillingSetlistPage || echoSuppressed) return;
        proto::Payload data{};
        data[0] = static_cast<uint8_t>(value);
        write(proto::kGroupSetlist, proto::setlist::kSlotProgram, address(slot), data);
    } else if (index == kSetlistNameTag) {
        // Names only go to setlists the pedal has.
        if (!known || fillingSetlistPage || echoSuppressed || pageView == nullptr) return;
        std::array<char, 33> name{};
        const std::string text = pageView->controlText(kSetlistNameTag);
        std::memcpy(name.data(), text.data(), std::min<size_t>(text.size(), 32));
        setlistTable[static_cast<size_t>(setlist)].name = name;
        for (uint8_t part = 0; part < 2; ++part) {
            proto::Payload data{};
            std::memcpy(data.data(), name.data() + 16 * part, 16);
            write(proto::kGroupSetlist, proto::setlist::kName, {static_cast<uint8_t>(setlist), part, 0, 0},
                  data);
        }
    } else if (index >= kFirstSlotButtonTag && index < kFirstSlotButtonTag + kPageSlots && value > 0 &&
               !echoSuppressed) {
        const int32_t slot = index - kFirstSlotButtonTag;
        const bool filled = known && slot < slotsPerSetlistValue &&
                            setlistTable[static_cast<size_t>(setlist)].preset(slot) != proto::kEmptySlot;
        if (!filled) {
            if (pageView != nullptr) pageView->setControlValueQuiet(index, 0);
            return;
        }
        selectPreset(setlistTable[static_cast<size_t>(setlist)].preset(slot));
        if (pageView != nullptr)
            for (int32_t k = 0; k < kPageSlots; ++k)
                if (k != slot) pageView->setControlValueQuiet(kFirstSlotButtonTag + k, 0);
    }
}

void TovanProcess::refreshSetlistPage() {
    const int32_t active = truncateToInt32(parameterManager->GetValue(kActiveSetlist));
    if (active <= 0 || active - 1 >= static_cast<int32_t>(setlistTable.size()) || pageView == nullptr) return;
    const SetlistRecord& record = setlistTable[static_cast<size_t>(active - 1)];
    fillingSetlistPage = true;
    for (int32_t k = 0; k < kPageSlots; ++k) {
        const bool present = k < slotsPerSetlistValue;
        pageView->setControlVisible(kFirstPresetTag + k, present);
        pageView->setControlVisible(kFirstProgramTag + k, present);
        if (!present) continue;
        pageView->setControlValue(kFirstPresetTag + k, record.preset(k));
        pageView->setControlValue(kFirstProgramTag + k, record.program(k));
    }
    pageView->setControlText(kSetlistNameTag, record.name.data());
    pageView->setlistFlagChanged(record.flag);
    fillingSetlistPage = false;
}
