#pragma once

// The virtual bus's wire format, spoken by the editor's virtual backend and
// by the simulated pedal's server.
//
// Client to pedal: op (1 byte), seq (1 byte), the moment the client sent the
// frame (8 bytes, nanoseconds of std::chrono::steady_clock, CLOCK_MONOTONIC on
// Linux and so one clock for every process, little-endian), 17 bytes of
// report. Pedal to client: op, seq, status, and for an input request the
// 17-byte input report.
//
// The send time lets the pedal time a report from when it left the client,
// as a pedal on a cable does, rather than from whenever the pedal's process
// was woken to read it: that wake-up is the machine's, not the editor's.

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace tovan::bus {

inline constexpr uint8_t kOpOutput = 0x01;
inline constexpr uint8_t kOpInput = 0x02;

inline constexpr size_t kReportBytes = 17;
inline constexpr size_t kSentAt = 2; // where the send time starts
inline constexpr size_t kReportAt = kSentAt + 8;
inline constexpr size_t kRequestSize = kReportAt + kReportBytes;

inline constexpr size_t kStatusAt = 2;
inline constexpr size_t kAnswerReportAt = 3;
inline constexpr size_t kShortAnswerSize = 3;
inline constexpr size_t kInputAnswerSize = kAnswerReportAt + kReportBytes;

using SendClock = std::chrono::steady_clock;

inline void putSentAt(uint8_t* frame, SendClock::time_point sent) {
    const auto bits = static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(sent.time_since_epoch()).count());
    for (size_t i = 0; i < 8; ++i)
        frame[kSentAt + i] = static_cast<uint8_t>(bits >> (8 * i));
}

inline SendClock::time_point sentAt(const uint8_t* frame) {
    uint64_t bits = 0;
    for (size_t i = 0; i < 8; ++i)
        bits |= static_cast<uint64_t>(frame[kSentAt + i]) << (8 * i);
    return SendClock::time_point(std::chrono::duration_cast<SendClock::duration>(
        std::chrono::nanoseconds(static_cast<int64_t>(bits))));
}

} // namespace tovan::bus
