#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The chunked binary format shared by preset files (".tovan") and backup
// files (".tovan_all"): a 28-byte file header, then chunks of a 16-byte header
// and a body. All integers are little-endian.
namespace presetfile {

inline constexpr std::string_view kPresetKind = "PLAVIK-TOVAN-pre";
inline constexpr std::string_view kBackupKind = "PLAVIK-TOVAN-all";
inline constexpr std::string_view kPresetExtension = "tovan";
inline constexpr std::string_view kBackupExtension = "tovan_all";
inline constexpr uint32_t kSignature = 0x762D53D4;
inline constexpr uint32_t kVersion = 1;
inline constexpr size_t kFileHeaderSize = 28;
inline constexpr size_t kChunkHeaderSize = 16;
inline constexpr size_t kNameBodySize = 28;
inline constexpr size_t kEntrySize = 4;
inline constexpr int32_t kBackupPresets = 100;
// Bodies the pedal can fill: a preset holds 424 bytes, a backup's setlists at
// most 2 + 255 × 255 × 2 entries. Anything longer is not one of our files.
inline constexpr uint32_t kPresetBodySize = 424;
inline constexpr uint32_t kMaxEntryListLength = (2 + 255 * 255 * 2) * kEntrySize;
inline constexpr size_t kMaxFileSize = 4 * 1024 * 1024;

enum class FileKind { Preset, Backup, Unknown };

struct FileHeader {
    std::array<char, 16> kind{};
    uint32_t signature = 0;
    uint32_t reserved = 0;
    uint32_t version = 0;

    FileKind fileKind() const;
};

struct ChunkHeader {
    std::array<char, 4> tag{};
    uint32_t length = 0;
    uint32_t reserved = 0;
    uint32_t version = 0;

    bool is(std::string_view name) const { return std::string_view(tag.data(), tag.size()) == name; }
};

struct Entry {
    uint16_t code = 0;
    int16_t value = 0;
    friend bool operator==(const Entry&, const Entry&) = default;
};

// The "name" chunk: a three-letter name and a description of up to 20 characters.
struct PresetName {
    std::string shortName;
    std::string description;
};

// Entry codes. Each *Index function answers -1 for a code it does not know.
inline constexpr int32_t kFilterParameters = 39;
uint16_t levelCode(int32_t index);
int32_t levelIndex(uint16_t code);
uint16_t filterCode(int32_t position);
int32_t filterPosition(uint16_t code);
int32_t filterIndex(uint16_t code, int32_t filter);
uint16_t globalCode(int32_t index);
int32_t globalIndex(uint16_t code);

// Setlist entries: the count, the slots per setlist, then per slot a program
// and a preset entry.
inline constexpr uint16_t kSetlistCountCode = 1;
inline constexpr uint16_t kSetlistSlotsCode = 2;
enum class SetlistField { Program = 0, Preset = 1 };
uint16_t setlistCode(int32_t setlist, int32_t slot, SetlistField field);
struct SetlistAddress {
    int32_t setlist;
    int32_t slot;
    SetlistField field;
};
// Codes up to 999 and fields other than program and preset decode to nothing.
std::optional<SetlistAddress> decodeSetlistCode(uint16_t code);

// Writes a file into memory; the caller stores the bytes (atomically).
class Writer {
public:
    void fileHeader(FileKind kind);
    // Starts a chunk and returns its place for endChunk, which fills in the length.
    size_t beginChunk(std::string_view tag);
    void endChunk(size_t place);
    void entries(std::string_view tag, std::span<const Entry> list);
    void name(const PresetName& name);

    const std::vector<uint8_t>& bytes() const { return out; }

private:
    void u32(uint32_t value);
    std::vector<uint8_t> out;
};

// Reads chunks in file order from a file held in memory. Every length is
// checked against what is left before anything is read.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> file) : file(file) {}

    // Nothing when the file is shorter than a header.
    std::optional<FileHeader> fileHeader();
    // Searches from the current place for the next chunk with this tag,
    // skipping others. Found: positioned at its body. Not found (or a chunk runs
    // past the end): the place is left where the search began.
    bool findChunk(std::string_view tag, ChunkHeader& header);
    // The body of the chunk just found, and the place moved past it; nothing
    // when the body runs past the end of the file.
    std::optional<std::span<const uint8_t>> body(const ChunkHeader& header);
    // Whether the last findChunk met a chunk whose length runs past the end.
    bool sawDamage() const { return damaged; }

    size_t position() const { return place; }

private:
    std::span<const uint8_t> file;
    size_t place = 0;
    bool damaged = false;
};

// An entry list body; nothing when its length is not whole entries or too long.
std::optional<std::vector<Entry>> parseEntries(std::span<const uint8_t> body);
std::optional<PresetName> parseName(std::span<const uint8_t> body);

// Export file names: the description, else "Tovan preset", with control and
// high bytes as spaces and characters that file systems refuse as '-'.
std::string suggestedPresetFileName(std::string_view description);

} // namespace presetfile
