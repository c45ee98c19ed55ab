#pragma once

#include <cstdint>
#include <optional>

#include "link/link_state.h"

class TovanProcess;

// The pedal's presets as the player works them: which one is active, their
// names, selecting one (the player's questions decide over unsaved edits),
// stepping through them, storing the edit buffer into a user slot, deleting
// and reverting, the mode switch, and resetting the pedal's settings. Talks
// to the pedal through the exchange, and to the session and menus through
// the owner.
class PedalPresets {
public:
    PedalPresets(TovanProcess& process, LinkState& state);

    // The active preset (0 when the pedal did not answer), or nothing when it did not.
    int32_t readActive();
    std::optional<int32_t> queryActive();
    // Tells the pedal to switch (true while disconnected: there is nothing to tell).
    bool selectOnPedal(int32_t preset);
    void readName(int32_t slot, bool user, char out[4]);
    void readDescription(int32_t slot, bool user, char out[24]);
    // Stores the edit buffer into user slot 0-99 under a name and description.
    bool store(const char* name, const char* description, int32_t slot);
    // Deletes the active preset when it is a user preset.
    void remove();
    bool revert();
    // True when nothing is edited, or the player lets the edits go (they are reverted).
    bool confirmDiscard();
    // Selects a preset as the player would, after confirmDiscard.
    void select(int32_t preset);
    // The next or previous preset; not while locked in a setlist.
    void step(bool up);
    bool setPedalMode(bool on);
    // Resets every setting on the pedal but its name (user presets stay), and
    // reads it again. The caller has asked the player.
    void resetSettings();

    // What the last reading found: the loaded preset, its name and
    // description, and whether it is edited or the pedal locked.
    int32_t loaded() const { return static_cast<int32_t>(state.loadedPreset); }
    const char* name() const { return state.currentName.data(); }
    const char* description() const { return state.currentDescription.data(); }
    bool isEdited() const { return state.edited; }
    bool isLocked() const { return state.locked; }
    // The preset names changed elsewhere: the menus are read again at the next poll.
    void markNamesChanged() { state.namesChanged = true; }

private:
    TovanProcess& process;
    LinkState& state;
};
