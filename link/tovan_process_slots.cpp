// A user slot read whole and put back, and the way back to a preset's edit:
// what taking a store or a delete back needs.
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

} // namespace

std::optional<TovanProcess::SlotContents> TovanProcess::readUserSlot(int32_t slot) {
    if (!connected || slot < 0 || slot >= kPresetsPerBank) return std::nullopt;
    const int32_t preset = kPresetsPerBank + slot;
    const uint32_t asked = clock->milliseconds();
    if (!selectPresetOnPedal(preset) || confirmActivePreset(preset, asked) != PresetWait::Active)
        return std::nullopt;
    const uint8_t code = proto::encodePresetCode(static_cast<unsigned>(preset));
    const auto name = requestPatiently(proto::kGroupPreset, proto::preset::kName, {code, 0, 0, 0});
    const auto first = requestPatiently(proto::kGroupPreset, proto::preset::kDescription, {code, 0, 0, 0});
    const auto second = requestPatiently(proto::kGroupPreset, proto::preset::kDescription, {code, 1, 0, 0});
    SlotContents contents;
    if (!name || !first || !second || !readValueBlocks(true, contents.values)) return std::nullopt;
    uint8_t description[20] = {};
    std::memcpy(description, first->data(), 16);
    std::memcpy(description + 16, second->data(), 4);
    contents.name = textOf(name->data(), 3);
    contents.description = textOf(description, 20);
    return contents;
}

bool TovanProcess::writeUserSlot(int32_t slot, const SlotContents& contents,
                                 std::map<int32_t, int32_t>& editBuffer) {
    if (!connected) return false;
    bool written = true;
    for (const auto& [index, value] : contents.values)
        written = writeRestoredValue(index, value, editBuffer) && written;
    if (!written) return false;
    if (!storePreset(contents.name.c_str(), contents.description.c_str(), slot)) return false;
    namesChanged = true;
    return confirmActivePreset(kPresetsPerBank + slot, clock->milliseconds()) == PresetWait::Active;
}

std::optional<std::map<int32_t, int32_t>> TovanProcess::readEditBuffer() {
    std::map<int32_t, int32_t> values;
    if (!connected || !readValueBlocks(true, values)) return std::nullopt;
    return values;
}

bool TovanProcess::returnToEdit(int32_t preset, const std::map<int32_t, int32_t>& edit) {
    if (!connected) return false;
    const uint32_t asked = clock->milliseconds();
    if (!selectPresetOnPedal(preset) || confirmActivePreset(preset, asked) != PresetWait::Active)
        return false;
    // The stored values are in the edit buffer now: only the edits go out.
    std::map<int32_t, int32_t> held;
    if (!readValueBlocks(true, held)) return false;
    bool written = true;
    for (const auto& [index, value] : edit)
        written = writeRestoredValue(index, value, held) && written;
    return written;
}
