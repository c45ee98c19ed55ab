#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/link_state.h"
#include "link/protocol.h"

class TovanProcess;

// The connection to the pedal and keeping the page in step with it: the scan
// for pedals and the device selector, the choice of the pedal in use, the
// reads of the whole pedal (full) or of its values, and the status poll that
// follows what is done on the pedal itself (its knobs, switch, lock and
// presets), reading the pedal's identity with a full reload. Talks to the pedal through the exchange, and to
// the values, identity, presets, menus and setlists parts through the owner.
class PedalSession {
public:
    PedalSession(TovanProcess& process, LinkState& state, tovan::HidBackend& backend);

    // Scans the attached pedals; true when the pedal in use changed.
    bool connect();
    void refreshDeviceMenu();
    // Makes entry index of the attached list the pedal in use and reads it whole.
    void selectDevice(int32_t index);
    // The same without reading it (the command-line tool reads only what a command needs).
    bool useDevice(int32_t index);
    bool isConnected() const { return state.connected; }
    tovan::CHidDevice& currentPedal() { return state.current; }
    // The attached pedals, in the order of the device selector; pedals held by
    // another program are listed unopened.
    std::vector<tovan::CHidDevice>& attachedPedals() { return state.attached; }
    // Who holds the pedal the link would use when another program has it (the
    // first attached pedal held elsewhere while none is connected), else nothing.
    std::optional<tovan::ClaimHolder> pedalHeldElsewhere() const;

    // Reads the pedal into the parameter set and the page: everything (full)
    // or its values; the locked form is one update of the page, with the
    // reading's progress drawn.
    void reload(bool full);
    void reloadLocked(bool full);
    // One status poll, and what it reports read.
    void pollStatus();
    tovan::proto::Payload lastStatus() const { return statusRecord; }
    // The poll tick: a pedal another program let go taken and read, a panel
    // closed on request, pending edits committed, the status polled. A
    // firmware offer that falls due is the caller's (PedalFirmware::takeCheck).
    void idle();
    void requestClosePanel() { state.closePanelRequested = true; }

    // A bulk operation runs (backup, restore, the librarian): the preset
    // selector's changes are not the player's.
    bool isBusy() const { return state.bulkBusy; }
    void setBusy(bool on) { state.bulkBusy = on; }

private:
    void setLockedState(bool on);
    void followModeSwitch(bool on);

    TovanProcess& process;
    LinkState& state;
    tovan::HidBackend& backend;
    tovan::proto::Payload statusRecord{};
};
