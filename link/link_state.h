#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "link/hid_device.h"
#include "platform/clock.h"

class PedalView;
class PlayerQuestions;

// What the parts of the link share: the pedal in use and what is known of it,
// the page to show it on, and the flags that keep one part out of another's
// way (a reading is never written back; a bulk operation holds the poll off).
// The link owner holds one; each part is given it when it is made.
struct LinkState {
    // The pedal in use and the attached ones, in the order of the device selector.
    bool connected = false;
    tovan::CHidDevice current;
    std::vector<tovan::CHidDevice> attached;

    // What the pedal said of itself.
    std::array<char, 4> currentName{};
    std::array<char, 24> currentDescription{};
    std::array<uint8_t, 3> firmwareVersion{255, 255, 255};
    std::array<uint8_t, 3> secondVersion{255, 255, 255};
    std::array<char, 32> uniqueIdText{};
    uint32_t loadedPreset = 0;
    bool locked = false;
    bool edited = false;

    // Set while values that came from the pedal reach the controls: they are
    // not written back, whatever their tag.
    bool echoSuppressed = false;
    // Set while the setlist page is filled from the records, so the slot
    // selectors' notifications are not written back to the pedal.
    bool fillingSetlistPage = false;
    // Set while the values the pedal reports changed are read.
    bool readingChanges = false;
    // Set while a status-driven reload follows a preset change on the pedal.
    bool reloading = false;
    // A backup, restore or library operation runs: the preset selector's
    // changes are not taken for the player's.
    bool bulkBusy = false;
    // The preset names changed: the menus are read again at the next poll.
    bool namesChanged = false;
    bool closePanelRequested = false;
    // A connection was read whole: the firmware offer is due.
    bool firmwareCheck = false;

    PedalView* view = nullptr;
    PlayerQuestions* questions = nullptr;
    const Clock* clock = &steadyClock();
};

// Marks a stretch that reads the pedal: value changes that the reading
// causes in controls are not written back, whatever their tag.
class ReadingPedal {
public:
    explicit ReadingPedal(LinkState& state) : state(state), wasSuppressed(state.echoSuppressed) {
        state.echoSuppressed = true;
    }
    ~ReadingPedal() { state.echoSuppressed = wasSuppressed; }
    ReadingPedal(const ReadingPedal&) = delete;
    ReadingPedal& operator=(const ReadingPedal&) = delete;

private:
    LinkState& state;
    bool wasSuppressed;
};
