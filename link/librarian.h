#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/tovan_process.h"

// Arranging the pedal's 100 user slots and a folder of preset files: swap two
// slots, copy one onto another, export all slots as files, import a folder's
// files into consecutive slots. Every slot is written with the pedal's own
// commands (the values, then a store with name and description), read back and
// compared; the pedal returns to the preset and the edits it was on. A failure
// stops the operation: the slots not yet written are left as they were, and
// the outcome names the slot that failed and why. The editor and the
// command-line tool share this code. It works the pedal through the link
// owner's slots part (read a slot, write a slot, the edit buffer and the way
// back to it) and its session and presets parts.
class Librarian {
public:
    using Contents = PresetSlots::SlotContents;

    // One slot written: what it held before and what it holds now.
    struct Written {
        int32_t slot = 0;
        Contents before;
        Contents after;
    };

    struct Outcome {
        bool ok = false;
        // The slots written and confirmed, in the order they were written.
        std::vector<Written> written;
        // The slot that failed (-1: none, or the failure came before any slot).
        int32_t failedSlot = -1;
        // Why it failed, in words for the player; empty when ok.
        std::string failure;
        // Whether the pedal is back on the preset and edits it was on.
        bool putBack = false;
        // The preset it was on ("P12").
        std::string place;
        // Files an import left out, each with the reason ("x.tovan: damaged").
        std::vector<std::string> skipped;
        // Files an export wrote.
        std::vector<std::filesystem::path> files;
    };

    // One entry of a library folder.
    enum class EntryState {
        Preset,   // a preset file we read: name and description known
        Damaged,  // too short, cut off or not whole
        Newer,    // a file or chunk of a later version
        Foreign,  // not a Tovan preset file (a backup, another kind, another signature)
        NotAFile, // a folder or a device named like a preset file
    };
    struct LibraryEntry {
        std::filesystem::path path;
        std::string fileName;
        EntryState state = EntryState::Damaged;
        std::string name;
        std::string description;
        // The preset, for a readable one.
        Contents contents;
    };

    // Progress goes to the link's page: the progress panel while two or more
    // slots are written or read.
    explicit Librarian(TovanProcess& process) : process(process) {}

    // Slots are 0-99 (P00-P99).
    Outcome swap(int32_t first, int32_t second);
    Outcome copy(int32_t source, int32_t target);
    // Each target slot gets what its source slot held (target -> source),
    // every slot read before any is written. A failure puts back the slots
    // already written, so that no preset is held only in memory.
    Outcome arrange(const std::map<int32_t, int32_t>& moves);
    // Moves these slots to target, target + 1, ...: the presets they displace
    // fill the slots they left, in order. Empty when they do not fit below P99.
    static std::map<int32_t, int32_t> moveMap(const std::vector<int32_t>& slots, int32_t target);
    // Writes each preset into its slot in order (a library file onto a slot,
    // an import). keepBefore reads each slot first, for an undo.
    struct Planned {
        int32_t slot = 0;
        Contents contents;
    };
    Outcome write(const std::vector<Planned>& plan, bool keepBefore);
    // Every user slot as "P05 NAME - description.tovan" in folder; existing
    // files of those names are replaced, others are left.
    Outcome exportAll(const std::filesystem::path& folder);
    // One slot as a file in folder; the file's path in files.
    Outcome exportSlot(int32_t slot, const std::filesystem::path& folder);
    // The readable preset files of folder, in name order, into consecutive
    // slots from first. Refused whole when they do not fit below P99.
    Outcome import(const std::filesystem::path& folder, int32_t first, bool keepBefore = false);
    // What an import of folder from first would write, without the pedal.
    static std::vector<Planned> importPlan(const std::vector<LibraryEntry>& entries, int32_t first);

    // The preset files (".tovan") of a folder in name order, each read and
    // marked; a file that cannot be read is listed as such.
    static std::vector<LibraryEntry> listFolder(const std::filesystem::path& folder);
    static std::string stateText(EntryState state);
    // "P05 NAME - description.tovan", with what file systems refuse replaced.
    static std::string exportFileName(int32_t slot, const std::string& name, const std::string& description);
    // A preset file's bytes for contents.
    static std::vector<uint8_t> presetFileBytes(const Contents& contents);
    // Whether what was read back is what was written: name, description, and
    // every value that was written.
    static bool sameContents(const Contents& written, const Contents& read, std::string& difference);

private:
    struct Place {
        int32_t preset = 0;
        std::map<int32_t, int32_t> edit;
    };
    std::optional<Place> begin(Outcome& outcome, int32_t total);
    void finish(Outcome& outcome, const std::optional<Place>& place);
    // Writes contents into slot, reads it back and compares; the reason it
    // failed, or empty. editBuffer follows what the pedal's edit buffer holds.
    std::string writeAndCheck(int32_t slot, const Contents& contents, std::map<int32_t, int32_t>& editBuffer);
    // Reads a slot whole; the reason it could not, or empty.
    std::string readSlot(int32_t slot, Contents& contents, std::map<int32_t, int32_t>& editBuffer);
    // Writes plan in order into outcome.written; before holds what each slot
    // held when known already, else it is read when keepBefore.
    bool writeAll(Outcome& outcome, const std::vector<Planned>& plan, const std::vector<Contents>& before,
                  bool keepBefore, std::map<int32_t, int32_t>& editBuffer);
    bool pedalGone() const;
    // One more slot read or written: the progress panel counts it.
    void step();

    TovanProcess& process;
    int32_t progressTotal = 0;
    int32_t progressDone = 0;
};
