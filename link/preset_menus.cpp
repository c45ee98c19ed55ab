#include "link/preset_menus.h"

#include <cstdio>

#include "link/pedal_view.h"
#include "link/tovan_process.h"
#include "model/pedal_parameters.h"
#include "model/pedal_values.h"

using namespace tovan;

namespace {

constexpr int32_t kFirstSlotPresetTag = ptag::kFirstSlotPreset;
constexpr int32_t kSetlistSlots = ptag::kSetlistPageSlots;

} // namespace

PresetMenus::PresetMenus(TovanProcess& process, LinkState& state) : process(process), state(state) {}

std::string PresetMenus::menuText(int32_t preset, bool reuse) {
    if (texts.size() != static_cast<size_t>(kPresetCount)) texts.assign(kPresetCount, {});
    std::string& text = texts[static_cast<size_t>(preset)];
    if (reuse) return text;
    char name[4];
    char description[24];
    process.presets().readName(presetSlot(preset), preset >= kPresetsPerBank, name);
    process.presets().readDescription(presetSlot(preset), preset >= kPresetsPerBank, description);
    text = std::string(name) + " | " + description;
    return text;
}

void PresetMenus::fill(int32_t tag, const Style& style) {
    PedalView* view = state.view;
    if (view == nullptr) return;
    if (style.clear) view->clearMenu(tag);
    const int32_t first = style.allPresets ? 0 : kPresetsPerBank;
    bool inBank = false;
    bool inGroup = false;
    for (int32_t n = first; n < kPresetCount; ++n) {
        const bool user = n >= kPresetsPerBank;
        const int32_t number = presetSlot(n);
        if (n == 0 || n == kPresetsPerBank) {
            if (inGroup) view->endSubmenu(tag);
            if (inBank) view->endSubmenu(tag);
            view->beginSubmenu(tag, user ? "User" : "Factory");
            inBank = true;
            inGroup = false;
        }
        if (number % 10 == 0) {
            if (inGroup) view->endSubmenu(tag);
            char title[32];
            if (user)
                std::snprintf(title, sizeof title, "P%02d - P%02d", number, number + 9);
            else
                std::snprintf(title, sizeof title, "%s", std::string(effectTypeName(number / 10)).c_str());
            view->beginSubmenu(tag, title);
            inGroup = true;
        }
        const std::string text = menuText(n, style.reuseTexts);
        char label[16];
        if (style.prefixes)
            std::snprintf(label, sizeof label, "%s%02d: ", user ? "P" : "F", number);
        else
            std::snprintf(label, sizeof label, "%02d: ", number);
        const std::string shown = label + text;
        view->addMenuItem(tag, shown, style.labels ? shown : text, n);
    }
    if (inGroup) view->endSubmenu(tag);
    if (inBank) view->endSubmenu(tag);
}

void PresetMenus::rebuild() {
    PedalView* view = state.view;
    if (view == nullptr) return;
    fill(kCurrentPreset, {});
    view->clearMenu(kFirstSlotPresetTag);
    view->addMenuItem(kFirstSlotPresetTag, "Empty", "Empty", proto::kEmptySlot);
    // The slot menus list the same presets: the texts just read are reused.
    fill(kFirstSlotPresetTag, {.labels = true, .prefixes = true, .clear = false, .reuseTexts = true});
    for (int32_t k = 1; k < kSetlistSlots; ++k)
        view->copyMenu(kFirstSlotPresetTag, kFirstSlotPresetTag + k);
}
