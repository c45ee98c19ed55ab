#pragma once

// The simulated pedal's own table of device fields, by (command, item). It is
// written from the pedal's point of view and deliberately shares nothing with
// the editor's parameter tables, so that a mistake in one shows up against the
// other.

#include <cstdint>
#include <span>

namespace tovan::sim {

struct FieldSpec {
    uint8_t command; // 5 preset common, 6 and 7 per filter, 8 global
    uint8_t item;
    int16_t minimum;
    int16_t maximum;
    int16_t defaultValue;
    const char* name;
};

// Every field once; commands 6 and 7 exist for both filters with the same spec.
std::span<const FieldSpec> fieldTable();

// nullptr when the pedal has no such field.
const FieldSpec* findField(uint16_t command, uint8_t item);

// Number of fields the pedal exposes, counting both filters: 102.
int deviceFieldCount();

} // namespace tovan::sim
