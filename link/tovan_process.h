#pragma once

#include <memory>

#include "link/backup_restore.h"
#include "link/link_state.h"
#include "link/link_values.h"
#include "link/pedal_exchange.h"
#include "link/pedal_firmware.h"
#include "link/pedal_identity.h"
#include "link/pedal_presets.h"
#include "link/pedal_session.h"
#include "link/pedal_setlists.h"
#include "link/pedal_view.h"
#include "link/player_questions.h"
#include "link/preset_files.h"
#include "link/preset_menus.h"
#include "link/preset_slots.h"
#include "model/cvs_process.h"
#include "platform/clock.h"

// The link owner: the pedal's parameter set (it is the model's process, to
// which the controls are bound) and the parts that talk to the pedal, which
// it makes and hands out:
//   exchange()  every report said to the pedal, with retries and counters
//   session()   connection, device selector, status poll and reloads
//   identity()  the pedal's versions, unique identifier and name
//   values()    parameter values both ways, never writing back what was read
//   presets()   the active preset: names, select, store, delete, revert, reset
//   menus()     the preset menus of the selectors
//   slots()     user slots read and written whole (undo, the librarian)
//   setlists()  the setlist records and the setlist page
//   backup()    the whole pedal into a backup and back
//   files()     preset files out and in, backup files restored
//   firmware()  the update offer after a connection and update mode
// The parts share one LinkState and reach each other through the owner.
// Every exchange runs on the user-interface thread. Nothing here asks or
// tells the player: outcomes say what happened, and the editor or tovan-cli
// asks (PlayerQuestions, for what must be decided mid-operation).
class TovanProcess : public CVSProcess {
public:
    explicit TovanProcess(tovan::HidBackend& backend, PedalView* view = nullptr);
    ~TovanProcess() override;

    void BuildParameters() override;

    PedalExchange& exchange() { return exchangePart; }
    PedalSession& session() { return sessionPart; }
    const PedalSession& session() const { return sessionPart; }
    PedalIdentity& identity() { return identityPart; }
    const PedalIdentity& identity() const { return identityPart; }
    LinkValues& values() { return valuesPart; }
    const LinkValues& values() const { return valuesPart; }
    PedalPresets& presets() { return presetsPart; }
    const PedalPresets& presets() const { return presetsPart; }
    PresetMenus& menus() { return menusPart; }
    const PresetMenus& menus() const { return menusPart; }
    PresetSlots& slots() { return slotsPart; }
    PedalSetlists& setlists() { return setlistsPart; }
    const PedalSetlists& setlists() const { return setlistsPart; }
    BackupRestore& backup() { return backupPart; }
    const BackupRestore& backup() const { return backupPart; }
    PresetFiles& files() { return filesPart; }
    PedalFirmware& firmware() { return firmwarePart; }
    const PedalFirmware& firmware() const { return firmwarePart; }

    // The page the parts show the pedal on, and who decides what the link
    // cannot (nothing: edits are kept).
    PedalView* view() const { return state.view; }
    void setView(PedalView* newView) { state.view = newView; }
    void setQuestions(PlayerQuestions* questions) { state.questions = questions; }
    // Times the waits of backup, restore and the slot operations (tests drive it by hand).
    void setClock(const Clock* clock) { state.clock = clock != nullptr ? clock : &steadyClock(); }

private:
    LinkState state;
    PedalExchange exchangePart;
    PedalSession sessionPart;
    PedalIdentity identityPart;
    LinkValues valuesPart;
    PedalPresets presetsPart;
    PresetMenus menusPart;
    PresetSlots slotsPart;
    PedalSetlists setlistsPart;
    BackupRestore backupPart;
    PresetFiles filesPart;
    PedalFirmware firmwarePart;
};
