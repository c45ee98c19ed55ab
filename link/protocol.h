#pragma once

// The pedal's message protocol as both ends see it: report sizes, the message
// header, the preset code and the command numbers. Shared by the editor's link
// and the simulated pedal, so it holds constants and small encoders only.

#include <array>
#include <cstddef>
#include <cstdint>

namespace tovan::proto {

inline constexpr uint16_t kVendorId = 0x231C;
inline constexpr uint16_t kProductId = 0x0002;
// The product id a pedal reports while it waits for new firmware.
inline constexpr uint16_t kUpdateProductId = 0x8002;

// Every report is 17 bytes: the report id (always 0), then the 16-byte payload.
inline constexpr size_t kPayloadSize = 16;
inline constexpr size_t kReportSize = 17;
using Payload = std::array<uint8_t, kPayloadSize>;
using Report = std::array<uint8_t, kReportSize>;

inline constexpr uint32_t kSignature = 0x3EB00E4F;

enum Direction : uint8_t {
    kWrite = 0,   // one more output report with the data follows
    kRequest = 1, // the pedal answers with one input report
};

enum Group : uint8_t {
    kGroupDevice = 1,
    kGroupPreset = 5,
    kGroupSetlist = 7,
};

// Group 1: the device.
namespace device {
inline constexpr uint16_t kEnterUpdate = 2; // write: leave for firmware update mode
inline constexpr uint16_t kVersions = 3;    // request: two version triples
inline constexpr uint16_t kName = 4;        // request / write: 16-character pedal name
inline constexpr uint16_t kNameDone = 5;    // write: follows every name write
inline constexpr uint16_t kReset = 7;       // write: reset settings, user presets kept
inline constexpr uint16_t kUniqueId = 11;   // request: bytes 4-15 are the unique id
inline constexpr uint16_t kStatus = 14;     // request: the status record
} // namespace device

// Group 5: presets and parameters.
namespace preset {
inline constexpr uint16_t kModeSwitch = 0;   // write: byte 0 = 1 on, 0 off
inline constexpr uint16_t kActive = 2;       // request / write: byte 0 = preset code
inline constexpr uint16_t kName = 3;         // request: address 0 = code; answer 3 characters
inline constexpr uint16_t kDescription = 4;  // request: address {code, part}
inline constexpr uint16_t kCommonValues = 5; // the four value commands, addressed by
inline constexpr uint16_t kFilterValues = 6; // {item, filter} or {0xFF, filter, block}
inline constexpr uint16_t kFilterDetails = 7;
inline constexpr uint16_t kGlobalValues = 8;
inline constexpr uint16_t kChangeMasks = 9; // request: four 32-bit masks, commands 5..8
inline constexpr uint16_t kRevert = 10;     // write: back to the stored preset
inline constexpr uint16_t kStore = 11;      // write: address {part, user slot}
inline constexpr uint16_t kDelete = 12;     // write: address 0 = user slot
} // namespace preset

// Group 7: setlists.
namespace setlist {
inline constexpr uint16_t kCount = 0;       // request: number of setlists
inline constexpr uint16_t kSlotCount = 1;   // request: slots per setlist
inline constexpr uint16_t kFlag = 2;        // request: address {setlist}
inline constexpr uint16_t kSlotPreset = 3;  // request / write: address {setlist, slot}
inline constexpr uint16_t kSlotProgram = 4; // request / write: address {setlist, slot}
inline constexpr uint16_t kSlotReset = 5;   // write
inline constexpr uint16_t kName = 6;        // request / write: address {setlist, part}
} // namespace setlist

// The first address byte that asks for a block of eight values instead of one item.
inline constexpr uint8_t kBlockRead = 0xFF;
inline constexpr size_t kValuesPerBlock = 8;
// A slot of a setlist that holds no preset.
inline constexpr uint8_t kEmptySlot = 255;

// Status record (answer to group 1, command 14).
namespace status {
inline constexpr uint8_t kLampA = 1 << 0;
inline constexpr uint8_t kLampB = 1 << 1;
inline constexpr uint8_t kEdited = 1 << 2;
inline constexpr uint8_t kValuesChanged = 1 << 3;
inline constexpr uint8_t kPresetChanged = 1 << 4;
inline constexpr uint8_t kReload = 1 << 5;
inline constexpr uint8_t kModeSwitch = 1 << 6;
inline constexpr uint8_t kNamesChanged = 1 << 7;
inline constexpr uint8_t kLocked = 1 << 0; // byte 1
inline constexpr size_t kFlagsByte = 0;
inline constexpr size_t kLockByte = 1;
inline constexpr size_t kMarker1Value = 8; // unsigned 16-bit, bytes 8-9
inline constexpr size_t kMarker2Value = 10;
inline constexpr size_t kMarker1Byte = 12;
inline constexpr size_t kMarker2Byte = 13;
} // namespace status

struct Header {
    uint8_t direction = kRequest;
    uint8_t group = 0;
    uint16_t command = 0;
    std::array<uint8_t, 4> address{};
};

inline void putU16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value & 0xFF);
    at[1] = static_cast<uint8_t>(value >> 8);
}
inline uint16_t getU16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | (at[1] << 8));
}
inline void putS16(uint8_t* at, int16_t value) {
    putU16(at, static_cast<uint16_t>(value));
}
inline int16_t getS16(const uint8_t* at) {
    return static_cast<int16_t>(getU16(at));
}
inline void putU32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(value >> (8 * i));
}
inline uint32_t getU32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
           (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

inline Payload encodeHeader(const Header& header) {
    Payload out{};
    putU32(out.data(), kSignature);
    out[4] = header.direction;
    out[5] = header.group;
    putU16(out.data() + 6, header.command);
    for (size_t i = 0; i < 4; ++i)
        out[8 + i] = header.address[i];
    return out;
}

// False when the payload does not start with the signature (it is not a header).
inline bool decodeHeader(const Payload& in, Header& header) {
    if (getU32(in.data()) != kSignature) return false;
    header.direction = in[4];
    header.group = in[5];
    header.command = getU16(in.data() + 6);
    for (size_t i = 0; i < 4; ++i)
        header.address[i] = in[8 + i];
    return true;
}

// Preset numbers 0-99 are factory presets, 100-199 user presets. On the wire a
// user preset carries bit 7 over its slot number.
inline uint8_t encodePresetCode(unsigned preset) {
    if (preset >= 100) return static_cast<uint8_t>(0x80 + ((preset - 100) % 100));
    return static_cast<uint8_t>(preset);
}

inline unsigned decodePresetCode(uint8_t code) {
    unsigned slot = code & 0x7Fu;
    if (slot >= 100) slot = 99;
    return (code & 0x80u) ? slot + 100 : slot;
}

// Number of items each value command holds (per filter for commands 6 and 7).
inline constexpr uint8_t itemCount(uint16_t command) {
    switch (command) {
    case preset::kCommonValues:
        return 5;
    case preset::kFilterValues:
        return 7;
    case preset::kFilterDetails:
        return 32;
    case preset::kGlobalValues:
        return 19;
    default:
        return 0;
    }
}

// Commands 6 and 7 exist once per filter; 5 and 8 only for filter 0.
inline constexpr uint8_t filterCount(uint16_t command) {
    return (command == preset::kFilterValues || command == preset::kFilterDetails) ? 2 : 1;
}

inline constexpr bool isValueCommand(uint16_t command) {
    return command >= preset::kCommonValues && command <= preset::kGlobalValues;
}

} // namespace tovan::proto
