#pragma once

// The pedal's factory presets: ten groups of ten, one group per effect type,
// each with a three-letter name, a description of at most 20 characters and
// the values that set it apart from the defaults.

#include <cstdint>

namespace tovan::sim {

struct FactoryPreset {
    const char* name;        // exactly three characters
    const char* description; // at most 20 characters
};

inline constexpr int kFactoryPresetCount = 100;

// The ten effect types, one per group of ten presets.
const char* effectTypeName(int group);

// Preset 0..99; nullptr outside.
const FactoryPreset* factoryPreset(int number);

} // namespace tovan::sim
