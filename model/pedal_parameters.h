#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "model/parameter_manager.h"

// The pedal's parameter set: which indexes exist, of which class, and where
// each device parameter lives on the pedal. Everything that names a parameter
// (protocol, files, pages, command-line tool) uses these tables.

inline constexpr int32_t kParameterSlots = 173;
inline constexpr int32_t kRegisteredParameters = 106;

// Control parameters, not part of a preset.
inline constexpr int32_t kDeviceSelect = 1;
inline constexpr int32_t kModeSwitch = 5;
inline constexpr int32_t kCurrentPreset = 7;
inline constexpr int32_t kDeviceName = 8;

// Filter 2's index is filter 1's plus 39.
inline constexpr int32_t kFilterStride = 39;
inline constexpr int32_t kDeviceParameterCount = 102;

// The parameters' indexes, which are also the tags of the controls that show
// them: the preset-wide values, filter 1's values (filter 2's are these plus
// kFilterStride), the global settings and the setlist page's controls. Pages,
// rules, the link and the files name parameters through these.
namespace ptag {
inline constexpr int32_t kOutputLevel = 9;
inline constexpr int32_t kFilterBalance = 10;
inline constexpr int32_t kDryLevel = 11;
inline constexpr int32_t kDrive = 12;
inline constexpr int32_t kSmoothing = 13;
inline constexpr int32_t kToeHeight = 14;
inline constexpr int32_t kHeelHeight = 15;
inline constexpr int32_t kToeFrequency = 16;
inline constexpr int32_t kHeelFrequency = 17;
inline constexpr int32_t kFilterType = 18;
inline constexpr int32_t kTaper = 19;
inline constexpr int32_t kControlMode = 20;
inline constexpr int32_t kControlSource = 21;
inline constexpr int32_t kSyncSource = 22;
inline constexpr int32_t kTempo = 23;
inline constexpr int32_t kLfoDepth = 24;
inline constexpr int32_t kLfoRate = 25;
inline constexpr int32_t kLfoRate2 = 26;
inline constexpr int32_t kDualRate = 27;
inline constexpr int32_t kRateMultiplier = 28;
inline constexpr int32_t kRateMultiplier2 = 29;
inline constexpr int32_t kLfoShape = 30;
inline constexpr int32_t kTrapezoidRise = 31;
inline constexpr int32_t kTrapezoidFall = 32;
inline constexpr int32_t kLfoPhase = 33;
inline constexpr int32_t kLfoGlide = 34;
inline constexpr int32_t kLfoGlideTime = 35;
inline constexpr int32_t kLfoGlideDepth = 36;
inline constexpr int32_t kEnvelopeInvert = 37;
inline constexpr int32_t kEnvSensitivity = 38;
inline constexpr int32_t kEnvThreshold = 39;
inline constexpr int32_t kEnvAttack = 40;
inline constexpr int32_t kEnvRelease = 41;
inline constexpr int32_t kEnvRange = 42;
inline constexpr int32_t kEnvLfoRate = 43;
inline constexpr int32_t kEnvLfoDepth = 44;
inline constexpr int32_t kEnvHold = 45;
inline constexpr int32_t kEnvGate = 46;
inline constexpr int32_t kEnvOffset = 47;
inline constexpr int32_t kPitchMode = 48;
inline constexpr int32_t kPitchRange = 49;
inline constexpr int32_t kPitchGlide = 50;
inline constexpr int32_t kPitchAnchor = 51;
inline constexpr int32_t kPitchSmoothing = 52;
// The pedal's global settings.
inline constexpr int32_t kDisplayBrightness = 92;
inline constexpr int32_t kInstrument = 93;
inline constexpr int32_t kHeelDeadZone = 94;
inline constexpr int32_t kToeDeadZone = 95;
inline constexpr int32_t kSwitchMode = 96;
inline constexpr int32_t kOffDelay = 97;
inline constexpr int32_t kPedalSmoothing = 98;
inline constexpr int32_t kSwitchPosition = 99;
inline constexpr int32_t kPedalCalibration = 100;
inline constexpr int32_t kMidiChannelA = 101;
inline constexpr int32_t kMidiChannelB = 102;
inline constexpr int32_t kMidiEnableA = 103;
inline constexpr int32_t kMidiControllerA = 104;
inline constexpr int32_t kMidiControllerB = 105;
inline constexpr int32_t kMidiChannel = 106;
inline constexpr int32_t kMidiChannelC = 107;
inline constexpr int32_t kMidiEnableB = 108;
inline constexpr int32_t kActiveSetlist = 109;
inline constexpr int32_t kPresetDisplay = 110;
// The setlist page's controls past the device parameters. No parameter holds
// them: the link routes their changes to the active setlist. The name text,
// then per slot (0..19) its preset, its MIDI program and its button.
inline constexpr int32_t kSetlistName = 111;
inline constexpr int32_t kSetlistPageSlots = 20;
inline constexpr int32_t kFirstSlotPreset = 112;
inline constexpr int32_t kFirstSlotProgram = kFirstSlotPreset + kSetlistPageSlots;
inline constexpr int32_t kFirstSlotButton = kFirstSlotProgram + kSetlistPageSlots;
inline constexpr int32_t kLastSlotButton = kFirstSlotButton + kSetlistPageSlots - 1;
inline constexpr int32_t kFirstSetlistTag = kSetlistName;
inline constexpr int32_t kLastSetlistTag = kLastSlotButton;
constexpr int32_t slotPreset(int32_t slot) {
    return kFirstSlotPreset + slot;
}
constexpr int32_t slotProgram(int32_t slot) {
    return kFirstSlotProgram + slot;
}
constexpr int32_t slotButton(int32_t slot) {
    return kFirstSlotButton + slot;
}
// SyncSource values with their own rules.
inline constexpr int32_t kSyncFilter1 = 1;
inline constexpr int32_t kSyncMidi = 4;
// Filter f's (0 or 1) index of a filter-1 index.
constexpr int32_t ofFilter(int32_t filterOneIndex, int32_t f) {
    return filterOneIndex + kFilterStride * f;
}
// The filter-1 index of any index (filter 2's lose the stride; others stay).
constexpr int32_t filterOneIndexOf(int32_t index) {
    return index >= ofFilter(kToeHeight, 1) && index < ofFilter(kToeHeight, 2) ? index - kFilterStride
                                                                               : index;
}
} // namespace ptag

// The global settings' names serve outside ptag too.
using ptag::kActiveSetlist;
using ptag::kDisplayBrightness;

// Device parameters occupy 9..110: a preset's values (preset-wide, then filter
// 1's from 14, then filter 2's) up to 91, and the pedal's global settings.
inline constexpr int32_t kFirstDeviceParameter = ptag::kOutputLevel;
inline constexpr int32_t kFirstFilterParameter = ptag::kToeHeight;
inline constexpr int32_t kLastPresetParameter = kFirstFilterParameter + 2 * kFilterStride - 1;
inline constexpr int32_t kFirstGlobalParameter = ptag::kDisplayBrightness;
inline constexpr int32_t kLastGlobalParameter = ptag::kPresetDisplay;
inline constexpr int32_t kLastDeviceParameter = kLastGlobalParameter;
static_assert(kFirstGlobalParameter == kLastPresetParameter + 1);
static_assert(kLastDeviceParameter - kFirstDeviceParameter + 1 == kDeviceParameterCount);
// The pedal's lock reaches every index from 6 to the last slot.
inline constexpr int32_t kFirstLockedParameter = 6;
inline constexpr int32_t kLastParameterSlot = kParameterSlots - 1;

// Parameters with their own rules.
inline constexpr int32_t kTaperFilter1 = ptag::kTaper;
inline constexpr int32_t kTaperFilter2 = ptag::ofFilter(ptag::kTaper, 1);
inline constexpr int32_t kTaperOffset = 9;
inline constexpr float kDisplayBrightnessDefault = 40.0f;

// The device commands that hold device fields.
enum class DeviceCommand : uint8_t { Preset = 5, FilterBasic = 6, FilterControl = 7, Global = 8 };

// One row of the device map: the parameter, and the pedal field that holds it.
struct DeviceField {
    int32_t index;
    uint8_t filter; // 0: filter 1 or not filter-specific; 1: filter 2
    uint8_t command;
    uint8_t item;
    std::string_view name;
};

// The 102 rows in the order the parameters are built and the pedal is read.
extern const std::array<DeviceField, kDeviceParameterCount> kDeviceMap;

// The row for a device parameter, or nothing for any other index.
std::optional<DeviceField> deviceFieldOf(int32_t index);
// The parameter at a pedal address, or -1.
int32_t parameterAt(uint8_t filter, uint8_t command, uint8_t item);

// Indexes whose integer is in tenths and shows one decimal.
extern const std::array<int32_t, 9> kTenthsParameters;
inline constexpr float kTenthsStep = 0.1f;
inline constexpr const char* kTenthsFormat = "%.1f";
bool isTenthsParameter(int32_t index);

// The parameter's name ("HeelFrequency"; both filters share their names), or
// empty for an index without a parameter.
std::string_view parameterName(int32_t index);

// Builds the whole set: the manager with its 173 slots, the listener, then the
// parameters in their fixed order (8, 1, 7, 5, then the device map).
std::unique_ptr<PARAMETER_MANAGER> buildPedalParameterSet(ParameterListener* listener);

// Tapers travel to and from the pedal offset by 9 (device −9..9, editor 0..18).
int32_t deviceToEditorValue(int32_t index, int32_t deviceValue);
int32_t editorToDeviceValue(int32_t index, int32_t editorValue);

// Stores a range reported by the pedal (already in editor terms): intMin,
// intMax, and their difference as the scale.
void setParameterRange(PARAMETER_MANAGER& manager, int32_t index, int32_t minimum, int32_t maximum);
// The active-setlist selector offers "Off" (0) and one value per setlist the
// pedal has: value n selects setlist n - 1, so the range runs to the count.
void setActiveSetlistRange(PARAMETER_MANAGER& manager, int32_t setlistCount);
