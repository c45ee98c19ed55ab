#pragma once

#include <array>
#include <cstdint>

#include "link/link_state.h"

class TovanProcess;

// What the pedal says of itself: its two version triples, its unique
// identifier and its name (into the parameter set), read with every full
// reload. Talks to the pedal through the exchange.
class PedalIdentity {
public:
    PedalIdentity(TovanProcess& process, LinkState& state);

    // Versions, unique identifier and the pedal's name.
    void read();
    // 255.255.255 until read.
    std::array<uint8_t, 3> firmwareVersion() const { return state.firmwareVersion; }
    std::array<uint8_t, 3> secondVersion() const { return state.secondVersion; }
    // 24 hexadecimal digits, empty until read.
    const char* uniqueId() const { return state.uniqueIdText.data(); }

private:
    TovanProcess& process;
    LinkState& state;
};
