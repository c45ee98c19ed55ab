#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "link/file_outcome.h"
#include "link/link_state.h"
#include "link/preset_file_codec.h"

class TovanProcess;

// Preset files out and in: the loaded preset exported with its name from the
// pedal, and a file loaded as if its controls had been turned (values clamped
// to the ranges the pedal reported). A backup file is restored through the
// backup part. Outcomes carry what the player is told. Talks to the values,
// presets and backup parts through the owner.
class PresetFiles {
public:
    PresetFiles(TovanProcess& process, LinkState& state);

    FileOutcome exportPreset(const std::string& path);
    // The file at path decoded, or nothing when it could not be opened (the
    // outcome says so). A file larger than the format allows decodes as none of ours.
    std::optional<presetfile::DecodedFile> open(const std::string& path, FileOutcome& outcome);
    // A readable backup: loading it restores the whole pedal, which the caller
    // asks the player about first.
    static bool restoresPedal(const presetfile::DecodedFile& file);
    // Loads a decoded file; path names it (a preset takes its base name). A
    // backup is restored. ok when the whole file was loaded.
    FileOutcome load(const presetfile::DecodedFile& file, const std::string& path);

private:
    // Appends the loaded preset as a "pret" chunk, with its name from the pedal.
    void writePresetChunk(presetfile::Writer& writer);
    // A value read from a file reaches the pedal as if its control had been
    // turned: clamped to the range, then sent.
    void applyFileValue(int32_t index, int32_t value);

    TovanProcess& process;
    LinkState& state;
};
