#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "link/preset_file_format.h"

// Presets, global settings and setlists in and out of the file format, in
// terms of parameter indexes. Talking to the pedal is the caller's business.
namespace presetfile {

struct ParameterValue {
    int32_t index;
    int16_t value;
    friend bool operator==(const ParameterValue&, const ParameterValue&) = default;
};

// A parameter's value as it goes into a file: truncated to an integer, then to 16 bits.
using ValueSource = std::function<int32_t(int32_t index)>;

// Appends a "pret" chunk: name, preset-wide levels and both filters.
void writePresetChunk(Writer& writer, const PresetName& name, const ValueSource& valueOf);
// The "cust" chunk with the 19 global settings.
void writeGlobalChunk(Writer& writer, const ValueSource& valueOf);

struct SetlistSlot {
    uint8_t program = 0;
    uint8_t preset = 255; // 255: empty
};
// The "setl" chunk: count, slots per setlist, then every slot's program and preset.
void writeSetlistChunk(Writer& writer, int32_t count, int32_t slots, const std::vector<SetlistSlot>& table);

// What one "pret" chunk held.
struct PresetContents {
    std::optional<PresetName> name;
    std::vector<ParameterValue> values; // in file order
    // Whether the preset can be stored as it is: read whole, with no part of a
    // later version. A preset that cannot leaves its slot untouched.
    bool usable = false;
};

// What reading found beyond the values themselves.
struct ReadFlags {
    bool newer = false;   // a chunk of a later version was skipped
    bool damaged = false; // a length ran past the end of the file or beyond what it can hold
};

// Reads the next "pret" chunk from the reader's place. True when the chunk was
// read whole (or skipped whole for being newer); false when it is missing or
// any part of it is missing or damaged, with whatever could be read in contents.
bool readPresetChunk(Reader& reader, PresetContents& contents, ReadFlags& flags);
// The "cust" chunk's values; nothing when missing.
std::optional<std::vector<ParameterValue>> readGlobalChunk(Reader& reader, ReadFlags& flags);

struct SetlistEntry {
    int32_t setlist;
    int32_t slot;
    SetlistField field;
    uint8_t value; // the entry value's low byte
};
struct SetlistContents {
    int32_t count = 0;
    int32_t slots = 0;
    std::vector<SetlistEntry> entries;
};
std::optional<SetlistContents> readSetlistChunk(Reader& reader, ReadFlags& flags);

} // namespace presetfile

namespace presetfile {

// A whole file decoded at once, without a pedal: what loading would apply.
enum class FileStatus {
    Readable,    // a preset or backup file of a version we read
    TooShort,    // not even a header: not valid
    Foreign,     // wrong signature, version 0 or an unknown kind: closed without a word
    NewerFormat, // a file version we do not know yet
};

struct DecodedFile {
    FileStatus status = FileStatus::TooShort;
    FileKind kind = FileKind::Unknown;
    ReadFlags flags;
    // Backups: the globals and setlists, when present.
    std::optional<std::vector<ParameterValue>> globals;
    std::optional<SetlistContents> setlists;
    // Presets in file order, up to the first one that could not be read whole;
    // complete tells whether that last read succeeded (a backup holds 100).
    std::vector<PresetContents> presets;
    bool complete = false;
};

DecodedFile decodeFile(std::span<const uint8_t> bytes);

} // namespace presetfile
