#include "link/preset_file_format.h"

#include <algorithm>
#include <cstring>

#include "model/pedal_parameters.h"

namespace presetfile {

namespace {

// Filter entry codes by item position 0..38, as ASCII characters.
constexpr std::array<char, kFilterParameters> kFilterCodes = {
    'A', 'B', 'C', 'D', 'E', 'F', 'G', 'J', 'T', 'U', 'V', 'W', 'X', 'a', 'Y', 'b', 'Z', '[', '\\', ']',
    '^', '_', '`', '|', 'h', 'k', 'i', 'j', 'l', 'm', 'p', 'n', 'o', 'q', 'r', 's', 't', 'u', 'v'};

constexpr int32_t kFirstLevelIndex = kFirstDeviceParameter;
constexpr int32_t kLastLevelIndex = kFirstFilterParameter - 1;
constexpr int32_t kFirstFilterIndex = kFirstFilterParameter;
constexpr int32_t kFirstGlobalIndex = kFirstGlobalParameter;
constexpr int32_t kLastGlobalIndex = kLastGlobalParameter;

uint32_t readU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint16_t readU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

std::string fixedText(const uint8_t* bytes, size_t size) {
    const auto* text = reinterpret_cast<const char*>(bytes);
    return std::string(text, strnlen(text, size));
}

} // namespace

FileKind FileHeader::fileKind() const {
    const std::string_view text(kind.data(), kind.size());
    if (text == kPresetKind) return FileKind::Preset;
    if (text == kBackupKind) return FileKind::Backup;
    return FileKind::Unknown;
}

uint16_t levelCode(int32_t index) {
    return static_cast<uint16_t>(index - 7);
}

int32_t levelIndex(uint16_t code) {
    const int32_t index = code + 7;
    return index >= kFirstLevelIndex && index <= kLastLevelIndex ? index : -1;
}

uint16_t filterCode(int32_t position) {
    return position >= 0 && position < kFilterParameters ? static_cast<uint8_t>(kFilterCodes[position]) : 0;
}

int32_t filterPosition(uint16_t code) {
    const auto found = std::find(kFilterCodes.begin(), kFilterCodes.end(), static_cast<char>(code));
    if (code > 127 || found == kFilterCodes.end()) return -1;
    return static_cast<int32_t>(found - kFilterCodes.begin());
}

int32_t filterIndex(uint16_t code, int32_t filter) {
    const int32_t position = filterPosition(code);
    return position < 0 ? -1 : kFirstFilterIndex + kFilterParameters * filter + position;
}

uint16_t globalCode(int32_t index) {
    return static_cast<uint16_t>(index + 165);
}

int32_t globalIndex(uint16_t code) {
    const int32_t index = code - 165;
    return index >= kFirstGlobalIndex && index <= kLastGlobalIndex ? index : -1;
}

uint16_t setlistCode(int32_t setlist, int32_t slot, SetlistField field) {
    return static_cast<uint16_t>(1000 * (setlist + 1) + 20 * slot + static_cast<int32_t>(field));
}

std::optional<SetlistAddress> decodeSetlistCode(uint16_t code) {
    if (code <= 999) return std::nullopt;
    const int32_t field = code % 1000 % 20;
    if (field > 1) return std::nullopt;
    return SetlistAddress{code / 1000 - 1, code % 1000 / 20, static_cast<SetlistField>(field)};
}

void Writer::u32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void Writer::fileHeader(FileKind kind) {
    const std::string_view text = kind == FileKind::Backup ? kBackupKind : kPresetKind;
    out.insert(out.end(), text.begin(), text.end());
    u32(kSignature);
    u32(0);
    u32(kVersion);
}

size_t Writer::beginChunk(std::string_view tag) {
    const size_t place = out.size();
    for (size_t i = 0; i < 4; ++i)
        out.push_back(i < tag.size() ? static_cast<uint8_t>(tag[i]) : ' ');
    u32(0);
    u32(0);
    u32(kVersion);
    return place;
}

void Writer::endChunk(size_t place) {
    const auto length = static_cast<uint32_t>(out.size() - place - kChunkHeaderSize);
    for (int i = 0; i < 4; ++i)
        out[place + 4 + static_cast<size_t>(i)] = static_cast<uint8_t>(length >> (8 * i));
}

void Writer::entries(std::string_view tag, std::span<const Entry> list) {
    const size_t place = beginChunk(tag);
    for (const Entry& entry : list) {
        const auto value = static_cast<uint16_t>(entry.value);
        out.push_back(static_cast<uint8_t>(entry.code));
        out.push_back(static_cast<uint8_t>(entry.code >> 8));
        out.push_back(static_cast<uint8_t>(value));
        out.push_back(static_cast<uint8_t>(value >> 8));
    }
    endChunk(place);
}

void Writer::name(const PresetName& name) {
    const size_t place = beginChunk("name");
    uint8_t body[kNameBodySize] = {};
    std::memcpy(body, name.shortName.data(), std::min<size_t>(name.shortName.size(), 3));
    std::memcpy(body + 4, name.description.data(), std::min<size_t>(name.description.size(), 20));
    out.insert(out.end(), body, body + kNameBodySize);
    endChunk(place);
}

std::optional<FileHeader> Reader::fileHeader() {
    if (file.size() < kFileHeaderSize) return std::nullopt;
    FileHeader header;
    std::memcpy(header.kind.data(), file.data(), header.kind.size());
    header.signature = readU32(file.data() + 16);
    header.reserved = readU32(file.data() + 20);
    header.version = readU32(file.data() + 24);
    place = kFileHeaderSize;
    return header;
}

bool Reader::findChunk(std::string_view tag, ChunkHeader& header) {
    const size_t start = place;
    size_t at = place;
    while (file.size() - at >= kChunkHeaderSize) {
        const uint8_t* p = file.data() + at;
        ChunkHeader candidate;
        std::memcpy(candidate.tag.data(), p, 4);
        candidate.length = readU32(p + 4);
        candidate.reserved = readU32(p + 8);
        candidate.version = readU32(p + 12);
        at += kChunkHeaderSize;
        if (candidate.is(tag)) {
            header = candidate;
            place = at;
            return true;
        }
        if (candidate.length > file.size() - at) {
            damaged = true;
            break;
        }
        at += candidate.length;
    }
    place = start;
    return false;
}

std::optional<std::span<const uint8_t>> Reader::body(const ChunkHeader& header) {
    if (header.length > file.size() - place) {
        damaged = true;
        return std::nullopt;
    }
    const auto span = file.subspan(place, header.length);
    place += header.length;
    return span;
}

std::optional<std::vector<Entry>> parseEntries(std::span<const uint8_t> body) {
    if (body.size() % kEntrySize != 0 || body.size() > kMaxEntryListLength) return std::nullopt;
    std::vector<Entry> list;
    list.reserve(body.size() / kEntrySize);
    for (size_t at = 0; at < body.size(); at += kEntrySize)
        list.push_back({readU16(body.data() + at), static_cast<int16_t>(readU16(body.data() + at + 2))});
    return list;
}

std::optional<PresetName> parseName(std::span<const uint8_t> body) {
    if (body.size() < kNameBodySize) return std::nullopt;
    return PresetName{fixedText(body.data(), 3), fixedText(body.data() + 4, 20)};
}

std::string suggestedPresetFileName(std::string_view description) {
    std::string name(description.empty() ? std::string_view("Tovan preset") : description);
    for (char& c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 1 && byte <= 31) || byte >= 128)
            c = ' ';
        else if (std::strchr("*/:<>?\\|", c) != nullptr && c != '\0')
            c = '-';
    }
    return name;
}

} // namespace presetfile
