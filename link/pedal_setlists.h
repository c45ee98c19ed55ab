#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "link/link_state.h"

class TovanProcess;

// The pedal's setlists: the records read from it (slots, flag and name of
// each), the setlist page filled from them for the active setlist, and the
// page's edits (slot presets and programs, the name, the slot buttons)
// written back to the pedal. Talks to the pedal through the exchange, and to
// the presets part (a slot button selects its preset) through the owner.
class PedalSetlists {
public:
    struct Record {
        std::vector<uint8_t> slots; // per slot: preset (255 empty), then program
        bool flag = false;
        std::array<char, 33> name{};

        uint8_t preset(int32_t slot) const { return slots[static_cast<size_t>(2 * slot)]; }
        uint8_t program(int32_t slot) const { return slots[static_cast<size_t>(2 * slot + 1)]; }
    };

    PedalSetlists(TovanProcess& process, LinkState& state);

    // Reads every setlist; true when every request was answered. Patient:
    // each request gets a second round of attempts (backup wants all of it).
    bool read(bool patient = false);
    // Fills the setlist page from the active setlist's record.
    void refreshPage();
    // A value of the setlist page (tags 111-171) changed: into the records,
    // and to the pedal unless it came from there.
    void applyEdit(int32_t index, int32_t value);

    const std::vector<Record>& records() const { return table; }
    uint8_t count() const { return setlistCount; }
    uint8_t slotsPerSetlist() const { return slotsPerList; }
    // What the pedal reported of its setlists' shape, where the records were not read.
    void setSize(uint8_t setlists, uint8_t slots) {
        setlistCount = setlists;
        slotsPerList = slots;
    }

private:
    TovanProcess& process;
    LinkState& state;
    uint8_t setlistCount = 0;
    uint8_t slotsPerList = 0;
    std::vector<Record> table;
};
