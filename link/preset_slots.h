#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "link/link_state.h"

class PedalExchange;
class TovanProcess;

// User slots read and written whole, and the way back to where the pedal
// was: what taking a store or a delete back, the librarian, and backup and
// restore need. Every slot selection is confirmed by the pedal's status
// before its contents are trusted. Talks to the pedal through the exchange,
// and to the presets and values parts through the owner.
class PresetSlots {
public:
    // A user slot as the pedal holds it: its name, description and values.
    struct SlotContents {
        std::string name;
        std::string description;
        std::map<int32_t, int32_t> values;
    };
    // Where an operation found the pedal, to put it back there.
    struct PedalPlace {
        int32_t preset = 0;
        bool modeSwitch = false;
    };
    enum class PresetWait { Active, TimedOut, Failed };

    PresetSlots(TovanProcess& process, LinkState& state);

    // Reads user slot 0-99 whole. It selects the slot on the pedal, so the
    // edit buffer is left; nothing when the pedal did not answer.
    std::optional<SlotContents> readUserSlot(int32_t slot);
    // Stores contents into user slot 0-99, writing only the values that differ
    // from editBuffer (what the edit buffer holds, kept up to date); the slot
    // is the active preset afterwards.
    bool writeUserSlot(int32_t slot, const SlotContents& contents, std::map<int32_t, int32_t>& editBuffer);
    // What the pedal's edit buffer holds now, every preset value; nothing when
    // a block went unanswered.
    std::optional<std::map<int32_t, int32_t>> readEditBuffer();
    // Selects preset and writes the values of edit that differ from its stored ones.
    bool returnToEdit(int32_t preset, const std::map<int32_t, int32_t>& edit);

    // Waits up to a second for status bit 4, then asks the active preset. The
    // status is read a pacing step after askedAt (when the pedal was told to
    // switch), then a step after each read began.
    PresetWait confirmActive(int32_t preset, uint32_t askedAt);
    // The active preset and the mode switch, read patiently.
    std::optional<PedalPlace> readPlace();
    bool putBack(const PedalPlace& place);

private:
    TovanProcess& process;
    LinkState& state;
    PedalExchange& exchange;
};
