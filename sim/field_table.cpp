#include "sim/field_table.h"

#include "link/protocol.h"

namespace tovan::sim {
namespace {

// Ranges follow the pedal's controls: enumerations span exactly their value
// names, tenths fields (tempo, rates, times) count in tenths of their unit, and
// the taper runs -9..+9 around linear.
constexpr FieldSpec kFields[] = {
    // Command 5: values common to the whole preset.
    {5, 0, 0, 100, 80, "PresetLevel"},
    {5, 1, 0, 100, 100, "WetMix"},
    {5, 2, 40, 300, 120, "PresetTempo"},
    {5, 3, 0, 10, 0, "Drive"},
    {5, 4, 0, 100, 50, "FilterBalance"},

    // Command 6: the sweep of one filter.
    {6, 0, 0, 100, 80, "ToeHeight"},
    {6, 1, 0, 100, 60, "HeelHeight"},
    {6, 2, 10, 4000, 2200, "ToeFrequency"}, // Hz
    {6, 3, 10, 4000, 350, "HeelFrequency"}, // Hz
    {6, 4, 0, 1, 1, "FilterType"},          // Low, Band
    {6, 5, -9, 9, 0, "Taper"},              // Lo 9 .. Linear .. Hi 9
    {6, 6, 0, 3, 0, "ControlMode"},         // pedal, LFO, envelope, pitch

    // Command 7: control, LFO, envelope and pitch details of one filter.
    {7, 0, 0, 3, 0, "ControlSource"},    // footpedal, MIDI expression, cutoff+resonance, note
    {7, 1, 0, 4, 0, "SyncSource"},       // tempo, F1 sync, tap, pedal BPM, MIDI sync
    {7, 2, 400, 3000, 1200, "LfoTempo"}, // tenths of a BPM: 120.5 is 1205
    {7, 3, 0, 100, 50, "LfoDepth"},
    {7, 4, 1, 200, 20, "LfoRate"},         // tenths of a hertz
    {7, 5, 0, 1000, 50, "EnvelopeAttack"}, // tenths of a millisecond
    {7, 6, 0, 10, 6, "RateMultiplier"},    // x16 .. x1 .. 1/16
    {7, 7, 0, 6, 0, "LfoShape"},           // sine .. random
    {7, 8, 0, 100, 25, "TrapezoidRise"},   // rise + fall stay within 100
    {7, 9, 0, 100, 25, "TrapezoidFall"},
    {7, 10, 0, 100, 50, "EnvelopeSensitivity"},
    {7, 11, 0, 100, 50, "EnvelopeRange"},
    {7, 12, 0, 100, 50, "StepSmoothing"},
    {7, 13, 0, 100, 50, "BeatAccent"},
    {7, 14, 0, 1, 0, "PitchMode"}, // bend, track
    {7, 15, 1, 24, 12, "PitchRange"},
    {7, 16, 0, 100, 20, "PitchGlide"},
    {7, 17, 0, 2, 1, "PitchAnchor"}, // bottom, centre, top
    {7, 18, 0, 100, 0, "PitchOffset"},
    {7, 19, 0, 1, 0, "EnvelopeInvert"},
    {7, 20, 0, 500, 100, "EnvelopeRelease"}, // tenths of a millisecond
    {7, 21, 0, 100, 0, "EnvelopeThreshold"},
    {7, 22, 0, 100, 0, "StepCount"},
    {7, 23, 0, 1, 0, "DualRate"},         // off, on
    {7, 24, 0, 10, 6, "RateMultiplier2"}, // x16 .. x1 .. 1/16
    {7, 25, -50, 50, 0, "MixOffset"},
    {7, 26, 0, 1, 0, "EnvelopeSwitch"}, // off, on
    {7, 27, 0, 100, 0, "RandomAmount"},
    {7, 28, 0, 100, 0, "BubbleDensity"},
    {7, 29, 0, 100, 0, "BubbleSize"},
    {7, 30, 0, 100, 0, "ExoticBlend"},
    {7, 31, 0, 100, 0, "ExoticSpread"},

    // Command 8: global settings, not part of a preset.
    {8, 0, 0, 100, 40, "PedalThreshold"},
    {8, 1, 0, 2, 0, "Instrument"}, // guitar, 4-string bass, 5-string bass
    {8, 2, 0, 100, 50, "InputGain"},
    {8, 3, 0, 100, 80, "OutputLevel"},
    {8, 4, 0, 3, 2, "SwitchMode"}, // disabled, on only, on/off heel, on/off toe
    {8, 5, 0, 8, 0, "OffDelay"},   // OFF, 0.5 s .. 4.0 s
    {8, 6, 0, 100, 10, "SwitchSensitivity"},
    {8, 7, 5, 50, 10, "TapSensitivity"}, // tenths
    {8, 8, 0, 255, 0, "CalibrationTrim"},
    {8, 9, 0, 15, 0, "MidiChannelA"}, // channels 1..16
    {8, 10, 0, 15, 1, "MidiChannelB"},
    {8, 11, 0, 1, 0, "MidiEnableA"},
    {8, 12, 0, 127, 11, "MidiControllerA"},
    {8, 13, 0, 127, 7, "MidiControllerB"},
    {8, 14, 0, 16, 0, "MidiChannel"},   // Omni, 1..16
    {8, 15, 0, 16, 0, "MidiChannelC"},  // Off, 1..16
    {8, 16, 0, 12, 0, "ActiveSetlist"}, // off, then setlist n - 1 (demo, A..K)
    {8, 17, 0, 1, 0, "MidiEnableB"},
    {8, 18, 0, 1, 0, "PresetDisplay"}, // preset number, slot number
};

} // namespace

std::span<const FieldSpec> fieldTable() {
    return kFields;
}

const FieldSpec* findField(uint16_t command, uint8_t item) {
    for (const FieldSpec& field : kFields)
        if (field.command == command && field.item == item) return &field;
    return nullptr;
}

int deviceFieldCount() {
    int count = 0;
    for (const FieldSpec& field : kFields)
        count += proto::filterCount(field.command);
    return count;
}

} // namespace tovan::sim
