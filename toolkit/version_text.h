#pragma once

#include <cstdint>
#include <string>

// A version word: major in bits 31-24, minor 23-20, revision 19-16, and a
// build or beta number in the low 16 bits.
constexpr uint32_t versionWord(uint32_t major, uint32_t minor, uint32_t revision, uint32_t number) {
    return (major & 0xFF) << 24 | (minor & 0xF) << 20 | (revision & 0xF) << 16 | (number & 0xFFFF);
}

// The pedal's style: "1.50", or "1.50beta03" with a beta number.
std::string pedalVersionText(uint32_t word);
// "1.5.0", or "1.5.0.3" with a build number, with optional " BETA" and " Demo".
struct VersionMarks {
    bool beta = false;
    bool demo = false;
};
std::string fourPartVersionText(uint32_t word, VersionMarks marks = {});
// Firmware and hardware versions as the settings show them: "1.5.00".
std::string deviceVersionText(uint32_t major, uint32_t minor, uint32_t build);
