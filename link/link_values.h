#pragma once

#include <cstdint>
#include <map>

#include "link/link_state.h"

class TovanProcess;

// Parameter values both ways: a value the player set goes to the pedal, and
// values read from the pedal go into the parameter set and onto the page
// without being written back (the link state's reading flag). Reads the
// whole pedal's ranges, its value blocks, or only what its change masks
// name. Talks to the pedal through the exchange; preset, device and setlist
// values are handed to those parts through the owner.
class LinkValues {
public:
    LinkValues(TovanProcess& process, LinkState& state);

    // A value set on the editor's side: into the parameter set, then to the
    // pedal unless it came from there.
    void sendParameter(int32_t index, float value);
    // Every device parameter's value and range, and the setlists.
    void readParameterInfo();
    // One device parameter's value and range (index 9..110); false when the pedal did not answer.
    bool readParameterInfo(int32_t index);
    // Every value of the edit buffer and the globals, in blocks.
    void readParameterValues();
    // The values the pedal's change masks name.
    void readChangedParameters();
    void readParameter(uint16_t command, uint8_t item);
    // Every value of the preset (commands 5-7) or of the globals (command 8),
    // in editor units, into values; false when a block went unanswered.
    bool readValueBlocks(bool preset, std::map<int32_t, int32_t>& values);
    // Writes a value unless known says the edit buffer holds it already; known
    // follows what the edit buffer holds. A setlist change resets the slot.
    bool writeKnownValue(int32_t index, int32_t value, std::map<int32_t, int32_t>& known);

    // Whether the values reaching the controls now came from the pedal (they
    // are never written back), and whether they are changes made on the pedal
    // itself (its knobs), as against a reload or the setlist page being filled.
    bool readingPedal() const { return state.echoSuppressed || state.fillingSetlistPage; }
    bool followingPedalChanges() const { return state.readingChanges && !state.fillingSetlistPage; }

private:
    // A value that came from the pedal: into the parameter set, then into the
    // control that shows it, without being written back.
    void showPedalValue(int32_t index, int32_t value);

    TovanProcess& process;
    LinkState& state;
};
