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

// Device parameters occupy 9..110; filter 2's index is filter 1's plus 39.
inline constexpr int32_t kFirstDeviceParameter = 9;
inline constexpr int32_t kLastDeviceParameter = 110;
inline constexpr int32_t kFilterStride = 39;
inline constexpr int32_t kDeviceParameterCount = 102;

// Parameters with their own rules.
inline constexpr int32_t kTaperFilter1 = 19;
inline constexpr int32_t kTaperFilter2 = 58;
inline constexpr int32_t kTaperOffset = 9;
inline constexpr int32_t kDisplayBrightness = 92;
inline constexpr float kDisplayBrightnessDefault = 40.0f;
inline constexpr int32_t kActiveSetlist = 109;

// The indexes of the preset-wide values and of filter 1's values; filter 2's
// are these plus kFilterStride. Pages and rules name parameters through these.
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
inline constexpr int32_t kEnvOffset = 47;
inline constexpr int32_t kPitchMode = 48;
inline constexpr int32_t kPitchRange = 49;
inline constexpr int32_t kPitchGlide = 50;
inline constexpr int32_t kPitchAnchor = 51;
inline constexpr int32_t kPitchSmoothing = 52;
inline constexpr int32_t kSwitchMode = 96;
inline constexpr int32_t kSwitchPosition = 99;
// SyncSource values with their own rules.
inline constexpr int32_t kSyncFilter1 = 1;
inline constexpr int32_t kSyncMidi = 4;
// Filter f's (0 or 1) index of a filter-1 index.
constexpr int32_t ofFilter(int32_t filterOneIndex, int32_t f) {
    return filterOneIndex + kFilterStride * f;
}
} // namespace ptag

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
