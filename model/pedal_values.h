#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The names the user sees for enumerated parameters, the preset list's
// headings and preset labels.

// The fixed value names of a parameter, index 0 first; empty for parameters
// shown as plain numbers. ActiveSetlist lists all 14 names; the pedal's setlist
// count decides how many of them apply.
std::span<const std::string_view> valueNames(int32_t index);
// The value name for value, or empty when the parameter has none for it.
std::string_view valueName(int32_t index, int32_t value);
// The value a name stands for (exact match), or -1.
int32_t valueForName(int32_t index, std::string_view name);

// Filter 1's sync source menu leaves out "F1 sync": the values it offers.
std::span<const int32_t> syncSourceChoices(int32_t index);

// The ten effect types, one heading per group of ten presets.
inline constexpr int32_t kEffectTypeCount = 10;
std::string_view effectTypeName(int32_t type);
// The heading a preset carries in the preset list: only multiples of ten have one.
std::string_view presetHeading(int32_t preset);

// Presets 0..99 are factory ("F"), 100..199 user ("P"); shown as the bank
// letter and the slot within the bank, "F07" or "P42".
inline constexpr int32_t kPresetsPerBank = 100;
inline constexpr int32_t kPresetCount = 200;
bool isUserPreset(int32_t preset);
int32_t presetSlot(int32_t preset);
std::string presetLabel(int32_t preset);
// "F07", "P42" (either case) or a plain number 0..199; -1 when the text is neither.
int32_t parsePresetLabel(std::string_view text);

// MIDI controller names as the controller menus show them; empty when unnamed.
std::string_view midiControllerName(int32_t controller);
// "%d:" followed by the name, or by "(undefined)".
std::string midiControllerTitle(int32_t controller);
