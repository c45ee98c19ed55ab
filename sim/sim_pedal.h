#pragma once

// A simulated Tovan pedal: the pedal's side of the whole protocol as a plain
// class driven by 16-byte payloads. The in-process back end, the virtual bus
// server and the tests all drive the same model.

#include "link/protocol.h"

#include <array>
#include <cstdint>
#include <random>
#include <string>

namespace tovan::sim {

inline constexpr int kSetlistCount = 12;
inline constexpr int kSlotsPerSetlist = 20;
inline constexpr int kUserPresetCount = 100;

// What happens to one report. The transport carrying it applies the fate.
enum class Fate {
    deliver, // handled normally
    fail,    // the report fails (the transport reports failure at once)
    drop,    // the report vanishes: no answer ever comes
    late,    // handled, but its answer arrives lateMicros later
};

struct Faults {
    double failRate = 0.0; // share of reports, 0..1, that fail
    double dropRate = 0.0; // share of reports that vanish
    double lateRate = 0.0; // share of reports answered late
    uint32_t lateMicros = 0;
    int64_t unplugAfter = -1; // unplug after this many completed exchanges; -1 never
    uint32_t seed = 1;
};

struct Counters {
    uint64_t outputReports = 0; // every output report handed to the pedal
    uint64_t inputReports = 0;  // every input report fetched
    uint64_t exchanges = 0;     // completed writes (header + data) and requests (header + answer)
    uint64_t writes = 0;
    uint64_t requests = 0;
    uint64_t failed = 0;    // reports failed on purpose
    uint64_t dropped = 0;   // reports dropped on purpose
    uint64_t late = 0;      // reports answered late on purpose
    uint64_t malformed = 0; // payloads that were neither a header nor expected data
    uint64_t unknown = 0;   // well-formed headers for commands the pedal does not have
};

struct SimOptions {
    std::string name = "Tovan";
    std::array<uint8_t, 3> firmware{1, 5, 0};
    std::array<uint8_t, 3> secondVersion{1, 0, 4};
    unsigned serial = 1;
};

struct PresetValues {
    std::array<int16_t, 5> common{};
    std::array<std::array<int16_t, 7>, 2> filter{};
    std::array<std::array<int16_t, 32>, 2> detail{};
};

struct StoredPreset {
    std::array<char, 3> name{};
    std::array<char, 20> description{};
    PresetValues values;
};

struct Setlist {
    std::array<char, 32> name{};
    uint8_t flag = 0;
    std::array<uint8_t, kSlotsPerSetlist> preset{};
    std::array<uint8_t, kSlotsPerSetlist> program{};
};

class SimPedal {
public:
    explicit SimPedal(SimOptions options = {});

    // Transport side. Both return false once the pedal is unplugged or in
    // update mode (it has left the bus).
    bool handleOutputReport(const proto::Payload& payload);
    bool fetchInputReport(proto::Payload& answer);
    // Draws the fate of the next report from the fault settings and counts it.
    Fate nextFate();
    void setFaults(const Faults& faults);
    const Faults& faults() const { return faults_; }
    bool unplugged() const { return unplugged_; }
    void unplug() { unplugged_ = true; }
    bool inUpdateMode() const { return updateMode_; }
    const Counters& counters() const { return counters_; }

    // Playing the pedal: what a musician does with its own controls. Each sets
    // the change masks and status bits the way the pedal reports them.
    bool turnControl(uint16_t command, uint8_t filter, uint8_t item, int16_t value);
    void stepPreset(bool up);
    void setModeSwitch(bool on);
    void setLocked(bool locked);
    struct Lamps {
        bool a = false;
        bool b = false;
    };
    void setLamps(Lamps lamps);
    // Pedal position 0 (heel) .. 1000 (toe); moves both filters' live positions.
    void setPedalPosition(unsigned permille);
    // One random action of a player: turn a knob, rock the pedal, step a preset
    // or flip the mode switch. Answers what it did: "knob", "pedal", "preset"
    // or "mode".
    const char* playStep(std::mt19937& random);

    // Inspection, for tests and the state file.
    bool hasField(uint16_t command, uint8_t filter, uint8_t item) const;
    int16_t value(uint16_t command, uint8_t filter, uint8_t item) const;
    unsigned activePreset() const { return activePreset_; }
    bool edited() const { return edited_; }
    bool locked() const { return locked_; }
    bool modeSwitch() const { return modeSwitch_; }
    uint8_t statusFlags() const { return statusFlags_; }
    std::array<uint8_t, 16> name() const { return name_; }
    const StoredPreset& userPreset(int slot) const { return userPresets_.at(static_cast<size_t>(slot)); }
    const Setlist& setlist(int index) const { return setlists_.at(static_cast<size_t>(index)); }
    // Where the pedal's position puts each filter between heel and toe.
    unsigned liveFrequency(int filter) const;
    unsigned liveHeight(int filter) const;
    unsigned serial() const { return options_.serial; }
    std::string stateJson() const;

private:
    void handleHeader(const proto::Header& header);
    void handleWrite(const proto::Header& header, const proto::Payload& data);
    proto::Payload answerRequest(const proto::Header& header);
    void completeExchange();

    int16_t* field(uint16_t command, uint8_t filter, uint8_t item);
    const int16_t* field(uint16_t command, uint8_t filter, uint8_t item) const;
    PresetValues presetValues(unsigned preset) const;
    void loadPreset(unsigned preset);
    void resetSettings();
    std::string presetName(unsigned preset) const;

    SimOptions options_;
    Faults faults_;
    std::mt19937 faultRandom_;
    Counters counters_;

    std::array<uint8_t, 16> name_{};
    std::array<uint8_t, 12> uniqueId_{};
    std::array<StoredPreset, kUserPresetCount> userPresets_{};
    std::array<Setlist, kSetlistCount> setlists_{};
    PresetValues editBuffer_;
    std::array<int16_t, 19> globals_{};
    unsigned activePreset_ = 0;
    bool edited_ = false;
    bool locked_ = false;
    bool modeSwitch_ = false;
    bool lampA_ = true;
    bool lampB_ = false;
    uint8_t statusFlags_ = 0; // event bits waiting to be reported
    std::array<uint32_t, 4> changeMasks_{};
    unsigned pedalPosition_ = 0;
    uint8_t setlistSlot_ = 0;
    std::array<uint8_t, 16> pendingName_{};
    bool namePending_ = false;

    // The first half of a store waits here for its second half.
    bool storePending_ = false;
    uint8_t storeSlot_ = 0;
    proto::Payload storePart0_{};

    bool awaitingData_ = false;
    proto::Header pendingWrite_;
    proto::Payload latestAnswer_{};
    bool answerPending_ = false;
    bool unplugged_ = false;
    bool updateMode_ = false;
};

} // namespace tovan::sim
