#include "link/pedal_presets.h"

#include <cstring>

#include "link/pedal_view.h"
#include "link/tovan_process.h"
#include "model/parameter_kinds.h"
#include "model/parameter_rounding.h"
#include "model/pedal_parameters.h"
#include "model/pedal_values.h"

using namespace tovan;

namespace {

uint8_t presetCode(int32_t slot, bool user) {
    return static_cast<uint8_t>((slot & 0x7F) | (user ? 0x80 : 0));
}

// Copies a text of at most `size` characters, stopping at its end.
void copyText(uint8_t* to, const char* text, size_t size) {
    if (text != nullptr) std::memcpy(to, text, strnlen(text, size));
}

} // namespace

PedalPresets::PedalPresets(TovanProcess& process, LinkState& state) : process(process), state(state) {}

int32_t PedalPresets::readActive() {
    const auto answer = process.exchange().request(proto::kGroupPreset, proto::preset::kActive);
    return answer ? static_cast<int32_t>(proto::decodePresetCode((*answer)[0])) : 0;
}

bool PedalPresets::selectOnPedal(int32_t preset) {
    if (!state.connected) return true;
    proto::Payload data{};
    data[0] = proto::encodePresetCode(static_cast<unsigned>(preset));
    return process.exchange().write(proto::kGroupPreset, proto::preset::kActive, {}, data);
}

void PedalPresets::readName(int32_t slot, bool user, char out[4]) {
    std::memset(out, 0, 4);
    if (!state.connected) return;
    const auto answer = process.exchange().request(proto::kGroupPreset, proto::preset::kName,
                                                   {presetCode(slot, user), 0, 0, 0});
    if (answer) std::memcpy(out, answer->data(), 3);
}

void PedalPresets::readDescription(int32_t slot, bool user, char out[24]) {
    // The whole field is cleared first, so whatever arrives stays terminated.
    std::memset(out, 0, 24);
    if (!state.connected) return;
    const uint8_t code = presetCode(slot, user);
    const auto first =
        process.exchange().request(proto::kGroupPreset, proto::preset::kDescription, {code, 0, 0, 0});
    if (!first) return;
    std::memcpy(out, first->data(), 16);
    if (const auto second =
            process.exchange().request(proto::kGroupPreset, proto::preset::kDescription, {code, 1, 0, 0}))
        std::memcpy(out + 16, second->data(), 4);
}

bool PedalPresets::store(const char* name, const char* description, int32_t slot) {
    if (!state.connected) return false;
    uint8_t shortName[3] = {};
    uint8_t text[20] = {};
    copyText(shortName, name, sizeof shortName);
    copyText(text, description, sizeof text);
    proto::Payload first{};
    std::copy_n(shortName, 3, first.begin());
    std::copy_n(text, 13, first.begin() + 3);
    const auto user = static_cast<uint8_t>(slot);
    if (!process.exchange().write(proto::kGroupPreset, proto::preset::kStore, {0, user, 0, 0}, first))
        return false;
    proto::Payload second{};
    std::copy_n(text + 13, 7, second.begin());
    std::copy(first.begin() + 7, first.end(), second.begin() + 7);
    return process.exchange().write(proto::kGroupPreset, proto::preset::kStore, {1, user, 0, 0}, second);
}

void PedalPresets::remove() {
    if (!state.connected) return;
    const int32_t preset = truncateToInt32(process.parameters()->GetValue(kCurrentPreset));
    if (preset < kPresetsPerBank) return;
    process.exchange().write(proto::kGroupPreset, proto::preset::kDelete,
                             {static_cast<uint8_t>(preset - kPresetsPerBank), 0, 0, 0});
}

bool PedalPresets::revert() {
    if (!state.connected) return false;
    const bool sent = process.exchange().write(proto::kGroupPreset, proto::preset::kRevert, {});
    if (sent) state.edited = false;
    return sent;
}

bool PedalPresets::confirmDiscard() {
    if (!state.edited) return true;
    const bool discard = state.questions != nullptr && state.questions->discardEdits();
    if (discard) revert();
    return discard;
}

void PedalPresets::select(int32_t preset) {
    if (!state.connected) return;
    if (!confirmDiscard()) return;
    process.parameters()->SetValue(kCurrentPreset, static_cast<float>(preset));
    process.ParameterChanged(kCurrentPreset);
    process.FlushChanges();
    if (state.view != nullptr) state.view->effectChanged();
    selectOnPedal(truncateToInt32(process.parameters()->GetValue(kCurrentPreset)));
}

void PedalPresets::step(bool up) {
    if (!state.connected) return;
    if (state.locked && process.parameters()->GetValue(kActiveSetlist) != 0.0f) return;
    const auto preset = static_cast<uint8_t>(truncateToInt32(process.parameters()->GetValue(kCurrentPreset)));
    if (up && preset < kPresetCount - 1) select(preset + 1);
    if (!up && preset > 0) select(preset - 1);
}

bool PedalPresets::setPedalMode(bool on) {
    if (!state.connected) return false;
    proto::Payload data{};
    data[0] = on ? 1 : 0;
    return process.exchange().write(proto::kGroupPreset, proto::preset::kModeSwitch, {}, data);
}

void PedalPresets::resetSettings() {
    if (!state.connected) return;
    process.exchange().write(proto::kGroupDevice, proto::device::kReset, {});
    process.exchange().pause(std::chrono::milliseconds(200));
    proto::Payload name{};
    if (auto* text = dynamic_cast<PARAMETER_FIXEDSTRING*>(process.parameters()->Find(kDeviceName)))
        std::copy_n(text->data(), name.size(), name.begin());
    // The pedal keeps a written name only once command 5 follows it.
    if (process.exchange().write(proto::kGroupDevice, proto::device::kName, {}, name))
        process.exchange().write(proto::kGroupDevice, proto::device::kNameDone, {});
    process.session().reloadLocked(true);
}

std::optional<int32_t> PedalPresets::queryActive() {
    const auto answer = process.exchange().requestPatiently(proto::kGroupPreset, proto::preset::kActive);
    if (!answer) return std::nullopt;
    return static_cast<int32_t>(proto::decodePresetCode((*answer)[0]));
}
