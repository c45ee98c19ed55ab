#include <cstdio>
#include <cstring>

#include "link/tovan_process.h"
#include "model/parameter_kinds.h"
#include "model/parameter_rounding.h"
#include "model/pedal_parameters.h"
#include "model/pedal_values.h"

using namespace tovan;

namespace {

constexpr int32_t kFirstSlotPresetTag = 112;
constexpr int32_t kSetlistSlots = 20;

uint8_t presetCode(int32_t slot, bool user) {
    return static_cast<uint8_t>((slot & 0x7F) | (user ? 0x80 : 0));
}

// Copies a text of at most `size` characters, stopping at its end.
void copyText(uint8_t* to, const char* text, size_t size) {
    if (text != nullptr) std::memcpy(to, text, strnlen(text, size));
}

} // namespace

int32_t TovanProcess::readActivePreset() {
    const auto answer = request(proto::kGroupPreset, proto::preset::kActive);
    return answer ? static_cast<int32_t>(proto::decodePresetCode((*answer)[0])) : 0;
}

bool TovanProcess::selectPresetOnPedal(int32_t preset) {
    if (!connected) return true;
    proto::Payload data{};
    data[0] = proto::encodePresetCode(static_cast<unsigned>(preset));
    return write(proto::kGroupPreset, proto::preset::kActive, {}, data);
}

void TovanProcess::readPresetName(int32_t slot, bool user, char out[4]) {
    std::memset(out, 0, 4);
    if (!connected) return;
    const auto answer = request(proto::kGroupPreset, proto::preset::kName, {presetCode(slot, user), 0, 0, 0});
    if (answer) std::memcpy(out, answer->data(), 3);
}

void TovanProcess::readPresetDescription(int32_t slot, bool user, char out[24]) {
    // The whole field is cleared first, so whatever arrives stays terminated.
    std::memset(out, 0, 24);
    if (!connected) return;
    const uint8_t code = presetCode(slot, user);
    const auto first = request(proto::kGroupPreset, proto::preset::kDescription, {code, 0, 0, 0});
    if (!first) return;
    std::memcpy(out, first->data(), 16);
    if (const auto second = request(proto::kGroupPreset, proto::preset::kDescription, {code, 1, 0, 0}))
        std::memcpy(out + 16, second->data(), 4);
}

bool TovanProcess::storePreset(const char* name, const char* description, int32_t slot) {
    if (!connected) return false;
    uint8_t shortName[3] = {};
    uint8_t text[20] = {};
    copyText(shortName, name, sizeof shortName);
    copyText(text, description, sizeof text);
    proto::Payload first{};
    std::copy_n(shortName, 3, first.begin());
    std::copy_n(text, 13, first.begin() + 3);
    const auto user = static_cast<uint8_t>(slot);
    if (!write(proto::kGroupPreset, proto::preset::kStore, {0, user, 0, 0}, first)) return false;
    proto::Payload second{};
    std::copy_n(text + 13, 7, second.begin());
    std::copy(first.begin() + 7, first.end(), second.begin() + 7);
    return write(proto::kGroupPreset, proto::preset::kStore, {1, user, 0, 0}, second);
}

void TovanProcess::deletePreset() {
    if (!connected) return;
    const int32_t preset = truncateToInt32(parameterManager->GetValue(kCurrentPreset));
    if (preset < kPresetsPerBank) return;
    write(proto::kGroupPreset, proto::preset::kDelete,
          {static_cast<uint8_t>(preset - kPresetsPerBank), 0, 0, 0});
}

bool TovanProcess::revertPreset() {
    if (!connected) return false;
    const bool sent = write(proto::kGroupPreset, proto::preset::kRevert, {});
    if (sent) edited = false;
    return sent;
}

bool TovanProcess::confirmDiscard() {
    if (!edited) return true;
    const bool discard = questions != nullptr && questions->discardEdits();
    if (discard) revertPreset();
    return discard;
}

void TovanProcess::selectPreset(int32_t preset) {
    if (!connected) return;
    if (!confirmDiscard()) return;
    parameterManager->SetValue(kCurrentPreset, static_cast<float>(preset));
    ParameterChanged(kCurrentPreset);
    FlushChanges();
    if (pageView != nullptr) pageView->effectChanged();
    selectPresetOnPedal(truncateToInt32(parameterManager->GetValue(kCurrentPreset)));
}

void TovanProcess::stepPreset(bool up) {
    if (!connected) return;
    if (locked && parameterManager->GetValue(kActiveSetlist) != 0.0f) return;
    const auto preset = static_cast<uint8_t>(truncateToInt32(parameterManager->GetValue(kCurrentPreset)));
    if (up && preset < kPresetCount - 1) selectPreset(preset + 1);
    if (!up && preset > 0) selectPreset(preset - 1);
}

bool TovanProcess::setPedalMode(bool on) {
    if (!connected) return false;
    proto::Payload data{};
    data[0] = on ? 1 : 0;
    return write(proto::kGroupPreset, proto::preset::kModeSwitch, {}, data);
}

void TovanProcess::resetPedal() {
    if (!connected) return;
    write(proto::kGroupDevice, proto::device::kReset, {});
    pause(std::chrono::milliseconds(200));
    proto::Payload name{};
    if (auto* text = dynamic_cast<PARAMETER_FIXEDSTRING*>(parameterManager->Find(kDeviceName)))
        std::copy_n(text->data(), name.size(), name.begin());
    // The pedal keeps a written name only once command 5 follows it.
    if (write(proto::kGroupDevice, proto::device::kName, {}, name))
        write(proto::kGroupDevice, proto::device::kNameDone, {});
    reloadLocked(true);
}

std::string TovanProcess::presetMenuText(int32_t preset, bool reuse) {
    if (presetTexts.size() != static_cast<size_t>(kPresetCount)) presetTexts.assign(kPresetCount, {});
    std::string& text = presetTexts[static_cast<size_t>(preset)];
    if (reuse) return text;
    char name[4];
    char description[24];
    readPresetName(presetSlot(preset), preset >= kPresetsPerBank, name);
    readPresetDescription(presetSlot(preset), preset >= kPresetsPerBank, description);
    text = std::string(name) + " | " + description;
    return text;
}

void TovanProcess::fillPresetMenu(int32_t tag, const PresetMenuStyle& style) {
    if (pageView == nullptr) return;
    if (style.clear) pageView->clearMenu(tag);
    const int32_t first = style.allPresets ? 0 : kPresetsPerBank;
    bool inBank = false;
    bool inGroup = false;
    for (int32_t n = first; n < kPresetCount; ++n) {
        const bool user = n >= kPresetsPerBank;
        const int32_t number = presetSlot(n);
        if (n == 0 || n == kPresetsPerBank) {
            if (inGroup) pageView->endSubmenu(tag);
            if (inBank) pageView->endSubmenu(tag);
            pageView->beginSubmenu(tag, user ? "User" : "Factory");
            inBank = true;
            inGroup = false;
        }
        if (number % 10 == 0) {
            if (inGroup) pageView->endSubmenu(tag);
            char title[32];
            if (user)
                std::snprintf(title, sizeof title, "P%02d - P%02d", number, number + 9);
            else
                std::snprintf(title, sizeof title, "%s", std::string(effectTypeName(number / 10)).c_str());
            pageView->beginSubmenu(tag, title);
            inGroup = true;
        }
        const std::string text = presetMenuText(n, style.reuseTexts);
        char label[16];
        if (style.prefixes)
            std::snprintf(label, sizeof label, "%s%02d: ", user ? "P" : "F", number);
        else
            std::snprintf(label, sizeof label, "%02d: ", number);
        const std::string shown = label + text;
        pageView->addMenuItem(tag, shown, style.labels ? shown : text, n);
    }
    if (inGroup) pageView->endSubmenu(tag);
    if (inBank) pageView->endSubmenu(tag);
}

void TovanProcess::rebuildPresetMenus() {
    if (pageView == nullptr) return;
    fillPresetMenu(kCurrentPreset, {});
    pageView->clearMenu(kFirstSlotPresetTag);
    pageView->addMenuItem(kFirstSlotPresetTag, "Empty", "Empty", proto::kEmptySlot);
    // The slot menus list the same presets: the texts just read are reused.
    fillPresetMenu(kFirstSlotPresetTag,
                   {.labels = true, .prefixes = true, .clear = false, .reuseTexts = true});
    for (int32_t k = 1; k < kSetlistSlots; ++k)
        pageView->copyMenu(kFirstSlotPresetTag, kFirstSlotPresetTag + k);
}
