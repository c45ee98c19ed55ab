#include "model/pedal_values.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "model/pedal_parameters.h"

namespace {

using Names = std::span<const std::string_view>;

constexpr std::string_view kFilterType[] = {"Low", "Band"};
constexpr std::string_view kTaper[] = {"Lo 9", "Lo 8", "Lo 7",   "Lo 6", "Lo 5", "Lo 4", "Lo 3",
                                       "Lo 2", "Lo 1", "Linear", "Hi 1", "Hi 2", "Hi 3", "Hi 4",
                                       "Hi 5", "Hi 6", "Hi 7",   "Hi 8", "Hi 9"};
constexpr std::string_view kControlSource[] = {"Tovan footpedal", "MIDI Expression", "MIDI Cutoff+Resonance",
                                               "MIDI Note"};
constexpr std::string_view kSyncSource[] = {"Tempo", "F1 sync", "Tap tempo", "Pedal BPM", "MIDI sync"};
constexpr std::string_view kRateMultiplier[] = {"x16", "x8",  "x6",  "x4",  "x3",  "x2",
                                                "x1",  "1/2", "1/4", "1/8", "1/16"};
constexpr std::string_view kLfoShape[] = {"Sine",   "Triangle",  "Square", "Saw up",
                                          "Saw dn", "Trapezoid", "Random"};
constexpr std::string_view kPitchMode[] = {"Pitch-bend", "Pitch-track"};
constexpr std::string_view kPitchAnchor[] = {"Bottom", "Centre", "Top"};
constexpr std::string_view kInstrument[] = {"Guitar", "4-string Bass", "5-string Bass"};
constexpr std::string_view kSwitchMode[] = {"Disabled", "On only", "On/off (heel)", "On/off (toe)"};
constexpr std::string_view kOffDelay[] = {"OFF",  "0.5s", "1.0s", "1.5s", "2.0s",
                                          "2.5s", "3.0s", "3.5s", "4.0s"};
constexpr std::string_view kMidiChannel[] = {"1", "2",  "3",  "4",  "5",  "6",  "7",  "8",
                                             "9", "10", "11", "12", "13", "14", "15", "16"};
constexpr std::string_view kMidiChannelOmni[] = {"Omni", "1",  "2",  "3",  "4",  "5",  "6",  "7", "8",
                                                 "9",    "10", "11", "12", "13", "14", "15", "16"};
constexpr std::string_view kMidiChannelOff[] = {"Off", "1",  "2",  "3",  "4",  "5",  "6",  "7", "8",
                                                "9",   "10", "11", "12", "13", "14", "15", "16"};
constexpr std::string_view kActiveSetlistNames[] = {
    "Off",       "Demo Mode", "Setlist A", "Setlist B", "Setlist C", "Setlist D", "Setlist E",
    "Setlist F", "Setlist G", "Setlist H", "Setlist I", "Setlist J", "Setlist K", "Setlist L"};
constexpr std::string_view kPresetDisplay[] = {"Preset Number", "Slot Number (Lnn)"};

constexpr std::string_view kEffectTypes[kEffectTypeCount] = {
    "Pedal",       "Pedal Vowels", "Touch Wah",        "Bass Envelope", "LFO",
    "LFO Stepped", "LFO Beats",    "Pitch Bend|Track", "Bubbly",        "Mixup|Exotic"};

constexpr int32_t kSyncChoicesFilter1[] = {0, 2, 3, 4};
constexpr int32_t kSyncChoicesFilter2[] = {0, 1, 2, 3, 4};

struct ControllerName {
    int32_t controller;
    std::string_view name;
};

constexpr ControllerName kControllerNames[] = {
    {0, "Bank Sel"},
    {1, "Mod Wheel"},
    {2, "Breath"},
    {4, "Foot Pedal"},
    {5, "Porta.Time"},
    {6, "Data Entry"},
    {7, "Volume"},
    {8, "Balance"},
    {10, "Pan"},
    {11, "Expression"},
    {12, "FX Ctrl 1"},
    {13, "FX Ctrl 2"},
    {16, "Slider 1"},
    {17, "Slider 2"},
    {18, "Slider 3"},
    {19, "Slider 4"},
    {64, "Sustain Pedal"},
    {65, "Portamento Pedal"},
    {66, "Sustenuto Pedal"},
    {67, "Soft Pedal"},
    {68, "Legato Pedal"},
    {69, "Hold 2 Pedal"},
    {70, "Sound Variation"},
    {71, "Sound Timbre"},
    {72, "Sound Release Time"},
    {73, "Sound Attack Time"},
    {74, "Sound Brightness"},
    {75, "Sound Control 6"},
    {76, "Sound Control 7"},
    {77, "Sound Control 8"},
    {78, "Sound Control 9"},
    {79, "Sound Control 10"},
    {80, "GP Button 1"},
    {81, "GP Button 2"},
    {82, "GP Button 3"},
    {83, "GP Button 4"},
    {84, "Portamento Ctrl"},
    {91, "Effects Level"},
    {92, "Tremulo Level"},
    {93, "Chorus Level"},
    {94, "Celeste Level"},
    {95, "Phaser Level"},
    {96, "Data Inc"},
    {97, "Data Dec"},
    {98, "NRPN (fine)"},
    {99, "NRPN (coarse)"},
    {100, "RPN (fine)"},
    {101, "RPN (coarse)"},
    {120, "All Snd Off"},
    {121, "All Ctrl Off"},
    {122, "Local on/off"},
    {123, "All Notes Off"},
    {124, "Omni Off"},
    {125, "Omni On"},
    {126, "Mono Mode"},
    {127, "Poly Mode"},
};

} // namespace

Names valueNames(int32_t index) {
    // Per-filter parameters are named by their filter-1 index.
    switch (ptag::filterOneIndexOf(index)) {
    case ptag::kFilterType:
        return kFilterType;
    case ptag::kTaper:
        return kTaper;
    case ptag::kControlSource:
        return kControlSource;
    case ptag::kSyncSource:
        return kSyncSource;
    case ptag::kRateMultiplier:
    case ptag::kRateMultiplier2:
        return kRateMultiplier;
    case ptag::kLfoShape:
        return kLfoShape;
    case ptag::kPitchMode:
        return kPitchMode;
    case ptag::kPitchAnchor:
        return kPitchAnchor;
    case ptag::kInstrument:
        return kInstrument;
    case ptag::kSwitchMode:
        return kSwitchMode;
    case ptag::kOffDelay:
        return kOffDelay;
    case ptag::kMidiChannelA:
    case ptag::kMidiChannelB:
        return kMidiChannel;
    case ptag::kMidiChannel:
        return kMidiChannelOmni;
    case ptag::kMidiChannelC:
        return kMidiChannelOff;
    case ptag::kActiveSetlist:
        return kActiveSetlistNames;
    case ptag::kPresetDisplay:
        return kPresetDisplay;
    default:
        return {};
    }
}

std::string_view valueName(int32_t index, int32_t value) {
    const Names names = valueNames(index);
    if (value < 0 || static_cast<size_t>(value) >= names.size()) return {};
    return names[static_cast<size_t>(value)];
}

int32_t valueForName(int32_t index, std::string_view name) {
    const Names names = valueNames(index);
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<int32_t>(i);
    return -1;
}

std::span<const int32_t> syncSourceChoices(int32_t index) {
    if (index == ptag::kSyncSource) return kSyncChoicesFilter1;
    if (index == ptag::ofFilter(ptag::kSyncSource, 1)) return kSyncChoicesFilter2;
    return {};
}

std::string_view effectTypeName(int32_t type) {
    if (type < 0 || type >= kEffectTypeCount) return {};
    return kEffectTypes[type];
}

std::string_view presetHeading(int32_t preset) {
    if (preset < 0 || preset >= kPresetCount || preset % 10 != 0) return {};
    return effectTypeName((preset % kPresetsPerBank) / 10);
}

bool isUserPreset(int32_t preset) {
    return preset >= kPresetsPerBank;
}

int32_t presetSlot(int32_t preset) {
    return preset < 0 ? 0 : preset % kPresetsPerBank;
}

std::string presetLabel(int32_t preset) {
    char text[8];
    std::snprintf(text, sizeof text, "%c%02d", isUserPreset(preset) ? 'P' : 'F', presetSlot(preset));
    return text;
}

int32_t parsePresetLabel(std::string_view text) {
    int32_t base = 0;
    bool hasBank = false;
    if (!text.empty() && std::isalpha(static_cast<unsigned char>(text.front()))) {
        const char bank = static_cast<char>(std::toupper(static_cast<unsigned char>(text.front())));
        if (bank != 'F' && bank != 'P') return -1;
        base = bank == 'P' ? kPresetsPerBank : 0;
        hasBank = true;
        text.remove_prefix(1);
        if (text.size() != 2) return -1;
    }
    int32_t number = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return -1;
    const int32_t limit = hasBank ? kPresetsPerBank : kPresetCount;
    if (number < 0 || number >= limit) return -1;
    return base + number;
}

std::string_view midiControllerName(int32_t controller) {
    for (const ControllerName& entry : kControllerNames)
        if (entry.controller == controller) return entry.name;
    return {};
}

std::string midiControllerTitle(int32_t controller) {
    const std::string_view name = midiControllerName(controller);
    return std::to_string(controller) + ":" + std::string(name.empty() ? "(undefined)" : name);
}
