#include "link/preset_file_codec.h"

#include "model/pedal_parameters.h"

namespace presetfile {

namespace {

constexpr int32_t kFirstLevelIndex = kFirstDeviceParameter;
constexpr int32_t kLevelCount = 5;
constexpr int32_t kFirstFilterIndex = kFirstFilterParameter;
constexpr int32_t kFirstGlobalIndex = kFirstGlobalParameter;
constexpr int32_t kGlobalCount = 19;

int16_t fileValue(const ValueSource& valueOf, int32_t index) {
    return static_cast<int16_t>(valueOf(index));
}

// Finds the chunk and returns its entries. A chunk of a later version is
// skipped, flagged and counts as found with no entries. Nothing when it is
// missing or damaged.
std::optional<std::vector<Entry>> readEntryChunk(Reader& reader, std::string_view tag, ReadFlags& flags) {
    ChunkHeader header;
    if (!reader.findChunk(tag, header)) {
        flags.damaged = flags.damaged || reader.sawDamage();
        return std::nullopt;
    }
    const auto body = reader.body(header);
    if (!body) {
        flags.damaged = true;
        return std::nullopt;
    }
    if (header.version != kVersion) {
        flags.newer = true;
        return std::vector<Entry>{};
    }
    auto entries = parseEntries(*body);
    if (!entries) flags.damaged = true;
    return entries;
}

template <typename Map>
void appendValues(std::vector<ParameterValue>& values, const std::vector<Entry>& entries, Map indexOf) {
    for (const Entry& entry : entries) {
        const int32_t index = indexOf(entry.code);
        if (index >= 0) values.push_back({index, entry.value});
    }
}

} // namespace

void writePresetChunk(Writer& writer, const PresetName& name, const ValueSource& valueOf) {
    const size_t preset = writer.beginChunk("pret");
    writer.name(name);
    std::vector<Entry> entries;
    for (int32_t index = kFirstLevelIndex; index < kFirstLevelIndex + kLevelCount; ++index)
        entries.push_back({levelCode(index), fileValue(valueOf, index)});
    writer.entries("levl", entries);
    for (int32_t filter = 0; filter < 2; ++filter) {
        entries.clear();
        for (int32_t position = 0; position < kFilterParameters; ++position)
            entries.push_back(
                {filterCode(position),
                 fileValue(valueOf, kFirstFilterIndex + kFilterParameters * filter + position)});
        writer.entries("filt", entries);
    }
    writer.endChunk(preset);
}

void writeGlobalChunk(Writer& writer, const ValueSource& valueOf) {
    std::vector<Entry> entries;
    for (int32_t index = kFirstGlobalIndex; index < kFirstGlobalIndex + kGlobalCount; ++index)
        entries.push_back({globalCode(index), fileValue(valueOf, index)});
    writer.entries("cust", entries);
}

void writeSetlistChunk(Writer& writer, int32_t count, int32_t slots, const std::vector<SetlistSlot>& table) {
    std::vector<Entry> entries{{kSetlistCountCode, static_cast<int16_t>(count)},
                               {kSetlistSlotsCode, static_cast<int16_t>(slots)}};
    for (int32_t s = 0; s < count; ++s) {
        for (int32_t k = 0; k < slots; ++k) {
            const size_t at = static_cast<size_t>(s * slots + k);
            const SetlistSlot slot = at < table.size() ? table[at] : SetlistSlot{};
            entries.push_back({setlistCode(s, k, SetlistField::Program), slot.program});
            entries.push_back({setlistCode(s, k, SetlistField::Preset), slot.preset});
        }
    }
    writer.entries("setl", entries);
}

bool readPresetChunk(Reader& reader, PresetContents& contents, ReadFlags& flags) {
    ChunkHeader preset;
    if (!reader.findChunk("pret", preset)) {
        flags.damaged = flags.damaged || reader.sawDamage();
        return false;
    }
    if (preset.version != kVersion) {
        flags.newer = true;
        if (!reader.body(preset)) flags.damaged = true;
        return !flags.damaged;
    }

    bool complete = true;
    ChunkHeader name;
    if (reader.findChunk("name", name)) {
        const auto body = reader.body(name);
        if (!body) {
            flags.damaged = true;
            return false;
        }
        if (name.version != kVersion)
            flags.newer = true;
        else if (auto parsed = parseName(*body))
            contents.name = std::move(parsed);
        else
            complete = false;
    } else {
        complete = false;
    }

    auto levels = readEntryChunk(reader, "levl", flags);
    if (levels) appendValues(contents.values, *levels, levelIndex);
    complete = complete && levels.has_value();
    for (int32_t filter = 0; filter < 2; ++filter) {
        auto entries = readEntryChunk(reader, "filt", flags);
        if (entries)
            appendValues(contents.values, *entries,
                         [filter](uint16_t code) { return filterIndex(code, filter); });
        complete = complete && entries.has_value();
    }
    return complete && !flags.damaged;
}

std::optional<std::vector<ParameterValue>> readGlobalChunk(Reader& reader, ReadFlags& flags) {
    auto entries = readEntryChunk(reader, "cust", flags);
    if (!entries) return std::nullopt;
    std::vector<ParameterValue> values;
    appendValues(values, *entries, globalIndex);
    return values;
}

std::optional<SetlistContents> readSetlistChunk(Reader& reader, ReadFlags& flags) {
    auto entries = readEntryChunk(reader, "setl", flags);
    if (!entries) return std::nullopt;
    SetlistContents contents;
    for (const Entry& entry : *entries) {
        if (entry.code == kSetlistCountCode) contents.count = entry.value;
        if (entry.code == kSetlistSlotsCode) contents.slots = entry.value;
        if (const auto address = decodeSetlistCode(entry.code))
            contents.entries.push_back({address->setlist, address->slot, address->field,
                                        static_cast<uint8_t>(static_cast<uint16_t>(entry.value) & 0xFF)});
    }
    return contents;
}

} // namespace presetfile

namespace presetfile {

DecodedFile decodeFile(std::span<const uint8_t> bytes) {
    DecodedFile file;
    if (bytes.size() > kMaxFileSize) return file;
    Reader reader(bytes);
    const std::optional<FileHeader> header = reader.fileHeader();
    if (!header) return file;
    file.kind = header->fileKind();
    if (header->signature != kSignature || header->version == 0 || file.kind == FileKind::Unknown) {
        file.status = FileStatus::Foreign;
        return file;
    }
    if (header->version > kVersion) {
        file.status = FileStatus::NewerFormat;
        return file;
    }
    file.status = FileStatus::Readable;
    if (file.kind == FileKind::Preset) {
        PresetContents contents;
        file.complete = readPresetChunk(reader, contents, file.flags);
        contents.usable = file.complete && !file.flags.newer;
        file.presets.push_back(std::move(contents));
        return file;
    }
    file.globals = readGlobalChunk(reader, file.flags);
    file.setlists = readSetlistChunk(reader, file.flags);
    for (int32_t slot = 0; slot < kBackupPresets; ++slot) {
        PresetContents contents;
        ReadFlags own;
        file.complete = readPresetChunk(reader, contents, own);
        file.flags.newer = file.flags.newer || own.newer;
        file.flags.damaged = file.flags.damaged || own.damaged;
        if (!file.complete) break;
        contents.usable = !own.newer && contents.name.has_value();
        file.presets.push_back(std::move(contents));
    }
    return file;
}

} // namespace presetfile
