#include "link/preset_slots.h"

#include <cstring>

#include "link/tovan_process.h"
#include "model/pedal_parameters.h"
#include "model/pedal_values.h"

using namespace tovan;

namespace {

std::string textOf(const uint8_t* bytes, size_t size) {
    const char* text = reinterpret_cast<const char*>(bytes);
    return std::string(text, strnlen(text, size));
}

constexpr std::chrono::milliseconds kPresetWaitStep{5};
constexpr uint32_t kPresetWaitLimitMs = 1000;

} // namespace

PresetSlots::PresetSlots(TovanProcess& process, LinkState& state)
    : process(process), state(state), exchange(process.exchange()) {}

std::optional<PresetSlots::SlotContents> PresetSlots::readUserSlot(int32_t slot) {
    if (!state.connected || slot < 0 || slot >= kPresetsPerBank) return std::nullopt;
    const int32_t preset = kPresetsPerBank + slot;
    const uint32_t asked = state.clock->milliseconds();
    if (!process.presets().selectOnPedal(preset) || confirmActive(preset, asked) != PresetWait::Active)
        return std::nullopt;
    const uint8_t code = proto::encodePresetCode(static_cast<unsigned>(preset));
    const auto name = exchange.requestPatiently(proto::kGroupPreset, proto::preset::kName, {code, 0, 0, 0});
    const auto first =
        exchange.requestPatiently(proto::kGroupPreset, proto::preset::kDescription, {code, 0, 0, 0});
    const auto second =
        exchange.requestPatiently(proto::kGroupPreset, proto::preset::kDescription, {code, 1, 0, 0});
    SlotContents contents;
    if (!name || !first || !second || !process.values().readValueBlocks(true, contents.values))
        return std::nullopt;
    uint8_t description[20] = {};
    std::memcpy(description, first->data(), 16);
    std::memcpy(description + 16, second->data(), 4);
    contents.name = textOf(name->data(), 3);
    contents.description = textOf(description, 20);
    return contents;
}

bool PresetSlots::writeUserSlot(int32_t slot, const SlotContents& contents,
                                std::map<int32_t, int32_t>& editBuffer) {
    if (!state.connected) return false;
    bool written = true;
    for (const auto& [index, value] : contents.values)
        written = process.values().writeKnownValue(index, value, editBuffer) && written;
    if (!written) return false;
    if (!process.presets().store(contents.name.c_str(), contents.description.c_str(), slot)) return false;
    state.namesChanged = true;
    return confirmActive(kPresetsPerBank + slot, state.clock->milliseconds()) == PresetWait::Active;
}

std::optional<std::map<int32_t, int32_t>> PresetSlots::readEditBuffer() {
    std::map<int32_t, int32_t> values;
    if (!state.connected || !process.values().readValueBlocks(true, values)) return std::nullopt;
    return values;
}

bool PresetSlots::returnToEdit(int32_t preset, const std::map<int32_t, int32_t>& edit) {
    if (!state.connected) return false;
    const uint32_t asked = state.clock->milliseconds();
    if (!process.presets().selectOnPedal(preset) || confirmActive(preset, asked) != PresetWait::Active)
        return false;
    // The stored values are in the edit buffer now: only the edits go out.
    std::map<int32_t, int32_t> held;
    if (!process.values().readValueBlocks(true, held)) return false;
    bool written = true;
    for (const auto& [index, value] : edit)
        written = process.values().writeKnownValue(index, value, held) && written;
    return written;
}

std::optional<PresetSlots::PedalPlace> PresetSlots::readPlace() {
    const std::optional<int32_t> preset = process.presets().queryActive();
    if (!preset) return std::nullopt;
    const auto status = exchange.requestPatiently(proto::kGroupDevice, proto::device::kStatus);
    if (!status) return std::nullopt;
    const uint8_t flags = (*status)[proto::status::kFlagsByte];
    // The events this answer carried are the poll's business afterwards.
    if (flags & proto::status::kNamesChanged) state.namesChanged = true;
    return PedalPlace{*preset, (flags & proto::status::kModeSwitch) != 0};
}

bool PresetSlots::putBack(const PedalPlace& place) {
    proto::Payload preset{};
    preset[0] = proto::encodePresetCode(static_cast<unsigned>(place.preset));
    proto::Payload mode{};
    mode[0] = place.modeSwitch ? 1 : 0;
    const bool selected = exchange.writePatiently(proto::kGroupPreset, proto::preset::kActive, {}, preset);
    const bool switched = exchange.writePatiently(proto::kGroupPreset, proto::preset::kModeSwitch, {}, mode);
    return selected && switched;
}

PresetSlots::PresetWait PresetSlots::confirmActive(int32_t preset, uint32_t askedAt) {
    const uint32_t start = state.clock->milliseconds();
    uint32_t stepStart = askedAt;
    bool reverted = false;
    for (;;) {
        // The pace is kept from the start of the previous report, not from its
        // end: on a slow pedal the reports' own time counts toward the step.
        const auto elapsed = std::chrono::milliseconds(state.clock->milliseconds() - stepStart);
        if (elapsed < kPresetWaitStep) exchange.pause(kPresetWaitStep - elapsed);
        stepStart = state.clock->milliseconds();
        // A lost or failed answer is asked again: the pedal cleared its event
        // bits when it answered, so the bit may be gone, which the read of the
        // active preset below makes up for.
        if (const auto status = exchange.request(proto::kGroupDevice, proto::device::kStatus)) {
            const uint8_t flags = (*status)[proto::status::kFlagsByte];
            if (flags & proto::status::kPresetChanged) return PresetWait::Active;
            if ((flags & proto::status::kReload) && !reverted) {
                // Another preset was left edited: discard that, once, and ask
                // again. The revert raises bit 5 itself, so a later bit 5 alone
                // is not taken for new edits.
                reverted = true;
                process.presets().revert();
                process.presets().selectOnPedal(preset);
            }
        }
        if (exchange.pedalGone()) return PresetWait::Failed;
        if (state.clock->milliseconds() - start > kPresetWaitLimitMs) break;
    }
    const std::optional<int32_t> active = process.presets().queryActive();
    if (!active) return PresetWait::Failed;
    return *active == preset ? PresetWait::Active : PresetWait::TimedOut;
}
