#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "link/file_outcome.h"
#include "link/link_state.h"
#include "link/preset_file_codec.h"

class PedalExchange;
class TovanProcess;

// Backup and restore: every user preset, the global settings and the
// setlists, out of the pedal into a file and back. Both check every exchange:
// a backup either holds exactly what the pedal holds or is not written, and a
// restore names every slot it could not put on the pedal. Both show their
// progress on the view and put the pedal back where they found it. Talks to
// the pedal through the exchange, and to the slots, presets, values,
// setlists and session parts through the owner.
class BackupRestore {
public:
    // A whole backup read from the pedal into memory, the pedal put back
    // where it was. failure says why there are no bytes.
    struct BackupRead {
        std::vector<uint8_t> bytes;
        std::string failure;
        std::string place; // "P12 with its mode switch on"
        bool putBack = false;
    };

    BackupRestore(TovanProcess& process, LinkState& state);

    BackupRead read();
    // Reads a backup and writes it to path; a short one writes nothing.
    FileOutcome saveTo(const std::string& path);
    // Restores a decoded backup file; pedalError gathers what went wrong on
    // the pedal, empty when nothing did. True when the file itself was whole.
    bool restore(const presetfile::DecodedFile& file, std::string& pedalError);
    // How many restores have begun: a restore rewrites the presets and the globals.
    uint32_t restoresBegun() const { return restores; }

private:
    // Selects the user slot and appends its "pret" chunk from what the pedal
    // answered; the reason it could not, or empty.
    std::string readUserPresetChunk(int32_t slot, presetfile::Writer& writer);
    bool storeRestoredPreset(const presetfile::PresetContents& preset, int32_t slot,
                             std::map<int32_t, int32_t>& known);
    std::vector<int32_t> namesThatDiffer(const presetfile::DecodedFile& file,
                                         const std::vector<bool>& stored);

    TovanProcess& process;
    LinkState& state;
    PedalExchange& exchange;
    uint32_t restores = 0;
};
