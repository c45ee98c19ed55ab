#include "model/pedal_parameters.h"

#include <algorithm>

#include "model/parameter_kinds.h"

namespace {

struct FieldName {
    uint8_t command;
    uint8_t item;
    std::string_view name;
};

// Preset-wide values, indexes 9..13.
constexpr std::array<FieldName, 5> kPresetFields{{
    {5, 0, "OutputLevel"},
    {5, 1, "FilterBalance"},
    {5, 2, "DryLevel"},
    {5, 4, "Drive"},
    {5, 3, "Smoothing"},
}};

// One filter's values in index order: 14..52 for filter 1, 53..91 for filter 2.
constexpr std::array<FieldName, kFilterStride> kFilterFields{{
    {6, 0, "ToeHeight"},       {6, 1, "HeelHeight"},    {6, 2, "ToeFrequency"},    {6, 3, "HeelFrequency"},
    {6, 4, "FilterType"},      {6, 5, "Taper"},         {6, 6, "ControlMode"},     {7, 0, "ControlSource"},
    {7, 1, "SyncSource"},      {7, 2, "Tempo"},         {7, 3, "LfoDepth"},        {7, 4, "LfoRate"},
    {7, 5, "LfoRate2"},        {7, 23, "DualRate"},     {7, 6, "RateMultiplier"},  {7, 24, "RateMultiplier2"},
    {7, 7, "LfoShape"},        {7, 8, "TrapezoidRise"}, {7, 9, "TrapezoidFall"},   {7, 10, "LfoPhase"},
    {7, 19, "LfoGlide"},       {7, 20, "LfoGlideTime"}, {7, 21, "LfoGlideDepth"},  {7, 26, "EnvelopeInvert"},
    {7, 11, "EnvSensitivity"}, {7, 22, "EnvThreshold"}, {7, 12, "EnvAttack"},      {7, 13, "EnvRelease"},
    {7, 25, "EnvRange"},       {7, 27, "EnvLfoRate"},   {7, 30, "EnvLfoDepth"},    {7, 28, "EnvHold"},
    {7, 29, "EnvGate"},        {7, 31, "EnvOffset"},    {7, 14, "PitchMode"},      {7, 15, "PitchRange"},
    {7, 16, "PitchGlide"},     {7, 17, "PitchAnchor"},  {7, 18, "PitchSmoothing"},
}};

// Global settings, indexes 92..110.
constexpr std::array<FieldName, 19> kGlobalFields{{
    {8, 0, "DisplayBrightness"}, {8, 1, "Instrument"},       {8, 2, "HeelDeadZone"},
    {8, 3, "ToeDeadZone"},       {8, 4, "SwitchMode"},       {8, 5, "OffDelay"},
    {8, 6, "PedalSmoothing"},    {8, 7, "SwitchPosition"},   {8, 8, "PedalCalibration"},
    {8, 9, "MidiChannelA"},      {8, 10, "MidiChannelB"},    {8, 11, "MidiEnableA"},
    {8, 12, "MidiControllerA"},  {8, 13, "MidiControllerB"}, {8, 14, "MidiChannel"},
    {8, 15, "MidiChannelC"},     {8, 17, "MidiEnableB"},     {8, 16, "ActiveSetlist"},
    {8, 18, "PresetDisplay"},
}};

constexpr std::array<DeviceField, kDeviceParameterCount> makeDeviceMap() {
    std::array<DeviceField, kDeviceParameterCount> rows{};
    size_t row = 0;
    int32_t index = kFirstDeviceParameter;
    auto add = [&](const FieldName& field, uint8_t filter) {
        rows[row++] = DeviceField{index++, filter, field.command, field.item, field.name};
    };
    for (const FieldName& field : kPresetFields)
        add(field, 0);
    for (uint8_t filter = 0; filter < 2; ++filter)
        for (const FieldName& field : kFilterFields)
            add(field, filter);
    for (const FieldName& field : kGlobalFields)
        add(field, 0);
    return rows;
}

struct ControlName {
    int32_t index;
    std::string_view name;
};

constexpr std::array<ControlName, 4> kControlNames{{
    {kDeviceName, "DeviceName"},
    {kDeviceSelect, "DeviceSelect"},
    {kCurrentPreset, "CurrentPreset"},
    {kModeSwitch, "ModeSwitch"},
}};

bool isTaper(int32_t index) {
    return index == kTaperFilter1 || index == kTaperFilter2;
}

} // namespace

const std::array<DeviceField, kDeviceParameterCount> kDeviceMap = makeDeviceMap();

const std::array<int32_t, 9> kTenthsParameters{ptag::kTempo,
                                               ptag::kLfoRate,
                                               ptag::kLfoRate2,
                                               ptag::kLfoGlideTime,
                                               ptag::ofFilter(ptag::kTempo, 1),
                                               ptag::ofFilter(ptag::kLfoRate, 1),
                                               ptag::ofFilter(ptag::kLfoRate2, 1),
                                               ptag::ofFilter(ptag::kLfoGlideTime, 1),
                                               ptag::kSwitchPosition};

std::optional<DeviceField> deviceFieldOf(int32_t index) {
    if (index < kFirstDeviceParameter || index > kLastDeviceParameter) return std::nullopt;
    return kDeviceMap[static_cast<size_t>(index - kFirstDeviceParameter)];
}

int32_t parameterAt(uint8_t filter, uint8_t command, uint8_t item) {
    for (const DeviceField& row : kDeviceMap)
        if (row.filter == filter && row.command == command && row.item == item) return row.index;
    return -1;
}

bool isTenthsParameter(int32_t index) {
    return std::find(kTenthsParameters.begin(), kTenthsParameters.end(), index) != kTenthsParameters.end();
}

std::string_view parameterName(int32_t index) {
    if (const auto field = deviceFieldOf(index)) return field->name;
    for (const ControlName& control : kControlNames)
        if (control.index == index) return control.name;
    return {};
}

std::unique_ptr<PARAMETER_MANAGER> buildPedalParameterSet(ParameterListener* listener) {
    auto manager = std::make_unique<PARAMETER_MANAGER>(kParameterSlots);
    manager->SetListener(listener);
    PARAMETER_MANAGER* m = manager.get();

    // Each parameter registers itself in the manager, which owns it from then on.
    new PARAMETER_FIXEDSTRING(kDeviceName, m);
    new PARAMETER_SWITCH(kDeviceSelect, m, 0.0f, 0, 127);
    new PARAMETER_GENERIC_BYTEu(kCurrentPreset, m, 0.0f, 0, 200);
    new PARAMETER_GENERIC_BYTEu(kModeSwitch, m, 0.0f, 0, 1);
    for (const DeviceField& row : kDeviceMap) {
        auto* parameter = new PARAMETER_GENERIC_INT32s(row.index, m);
        if (isTenthsParameter(row.index)) parameter->SetDisplayFormat(kTenthsStep, kTenthsFormat);
    }
    if (PARAMETER* brightness = m->Find(kDisplayBrightness))
        brightness->defaultValue = kDisplayBrightnessDefault;
    return manager;
}

int32_t deviceToEditorValue(int32_t index, int32_t deviceValue) {
    return isTaper(index) ? deviceValue + kTaperOffset : deviceValue;
}

int32_t editorToDeviceValue(int32_t index, int32_t editorValue) {
    return isTaper(index) ? editorValue - kTaperOffset : editorValue;
}

void setParameterRange(PARAMETER_MANAGER& manager, int32_t index, int32_t minimum, int32_t maximum) {
    PARAMETER* parameter = manager.Find(index);
    if (parameter == nullptr) return;
    parameter->intMin = minimum;
    parameter->intMax = maximum;
    parameter->scale = static_cast<uint8_t>(maximum - minimum);
}

void setActiveSetlistRange(PARAMETER_MANAGER& manager, int32_t setlistCount) {
    setParameterRange(manager, kActiveSetlist, 0, std::max(setlistCount, 0));
}
