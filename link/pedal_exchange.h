#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

#include "link/link_state.h"
#include "link/protocol.h"

// Everything said to the pedal passes here: one exchange is a header report,
// then the data written or the answer read, up to three attempts, given up at
// once when the pedal is gone. The patient forms give a second round of
// attempts, for the bulk operations that want all of it. It counts the
// exchanges and the failures, times the pauses between them (tests pass time
// by hand), and draws a full reading's progress on the view as it goes.
// Talks to the current pedal in the link state and to its view.
class PedalExchange {
public:
    using Address = std::array<uint8_t, 4>;
    using Sleeper = std::function<void(std::chrono::milliseconds)>;

    explicit PedalExchange(LinkState& state);

    // One exchange with any pedal, here or not yet chosen: true when it went through.
    bool transact(tovan::CHidDevice& device, uint8_t direction, uint8_t group, uint16_t command,
                  const Address& address, tovan::proto::Payload& data);
    // With the current pedal.
    bool write(uint8_t group, uint16_t command, const Address& address, tovan::proto::Payload data = {});
    std::optional<tovan::proto::Payload> request(uint8_t group, uint16_t command,
                                                 const Address& address = {});
    std::optional<tovan::proto::Payload> requestPatiently(uint8_t group, uint16_t command,
                                                          const Address& address = {});
    bool writePatiently(uint8_t group, uint16_t command, const Address& address,
                        const tovan::proto::Payload& data = {});
    // No current pedal, or it was unplugged during the last exchange.
    bool pedalGone() const;

    // Replaces the pause used between exchanges (tests pass time by hand).
    void setSleeper(Sleeper sleeper) { sleep = std::move(sleeper); }
    void pause(std::chrono::milliseconds duration) { sleep(duration); }

    // Exchanges made, whatever they came to, and those that failed all their
    // attempts, since the link owner was made.
    uint64_t exchanges() const { return exchangeCount; }
    uint64_t failedExchanges() const { return exchangeFailures; }

    // A full reading's progress: drawn on the view from begin to end as a
    // share of the exchanges the last one took (at first kFullReloadExchanges),
    // a new share at most once a kReadingStepMs.
    void beginReading();
    void endReading();

    // What a full reload of the pedal the simulator models takes, until one
    // has been counted: the device's identity, 200 preset names, the setlists,
    // the 102 ranges and the loaded preset.
    static constexpr uint64_t kFullReloadExchanges = 1227;

    // Twenty steps a second move a bar smoothly; each step drawn is time the
    // reading does not spend with the pedal.
    static constexpr uint32_t kReadingStepMs = 50;

private:
    void showReadingProgress();

    LinkState& state;
    Sleeper sleep;
    uint64_t exchangeFailures = 0;
    uint64_t exchangeCount = 0;
    // From which exchange, how many it is expected to take, and the share
    // last shown (-1: not reading).
    uint64_t readingFrom = 0;
    uint64_t readingExpected = kFullReloadExchanges;
    int32_t readingShown = -1;
    uint32_t readingShownAt = 0;
};
