#include "sim/sim_pedal.h"

#include "platform/trace.h"
#include "sim/factory_presets.h"
#include "sim/field_table.h"

#include <algorithm>
#include <cstring>

namespace tovan::sim {

using namespace proto;

namespace {

constexpr uint8_t kActiveSetlistItem = 16;

template <size_t N>
void copyText(std::array<char, N>& out, const char* text) {
    out.fill(0);
    for (size_t i = 0; i < N && text[i] != 0; ++i)
        out[i] = text[i];
}

int16_t clampTo(const FieldSpec& spec, int value) {
    return static_cast<int16_t>(
        std::clamp(value, static_cast<int>(spec.minimum), static_cast<int>(spec.maximum)));
}

PresetValues defaultValues() {
    PresetValues values;
    for (const FieldSpec& spec : fieldTable()) {
        for (size_t f = 0; f < 2; ++f) {
            if (spec.command == preset::kCommonValues && f == 0) values.common[spec.item] = spec.defaultValue;
            if (spec.command == preset::kFilterValues) values.filter[f][spec.item] = spec.defaultValue;
            if (spec.command == preset::kFilterDetails) values.detail[f][spec.item] = spec.defaultValue;
        }
    }
    return values;
}

// Factory presets differ from the defaults in the ways their effect type
// needs: a different sweep per preset, LFO shapes for the LFO groups, pitch
// modes for the pitch group.
PresetValues factoryValues(int number) {
    PresetValues v = defaultValues();
    const int group = number / 10;
    const int index = number % 10;
    v.common[2] = static_cast<int16_t>(80 + number);
    for (size_t f = 0; f < 2; ++f) {
        const int shift = static_cast<int>(f);
        v.filter[f][3] = static_cast<int16_t>(200 + 30 * index + 100 * shift);   // heel frequency
        v.filter[f][2] = static_cast<int16_t>(1500 + 150 * index + 400 * shift); // toe frequency
        v.filter[f][1] = static_cast<int16_t>(30 + 5 * index);                   // heel height
        v.filter[f][0] = static_cast<int16_t>(90 - 3 * index);                   // toe height
        v.filter[f][4] = static_cast<int16_t>(index % 4 == 3 ? 0 : 1);
        v.filter[f][5] = static_cast<int16_t>(group == 0 ? index - 5 : 0);
        if (group >= 4 && group <= 6) {
            v.detail[f][7] = static_cast<int16_t>(index % 7);
            v.detail[f][6] = static_cast<int16_t>(2 + index % 9);
        }
        if (group == 6) v.detail[f][1] = static_cast<int16_t>(f == 0 ? 3 : 1);
        if (group == 7) v.detail[f][14] = static_cast<int16_t>(index % 2);
        if (group == 8) v.detail[f][28] = static_cast<int16_t>(40 + 5 * index);
        if (group == 9) v.detail[f][30] = static_cast<int16_t>(10 * index);
    }
    return v;
}

void setlistDefaults(std::array<Setlist, kSetlistCount>& setlists) {
    for (int s = 0; s < kSetlistCount; ++s) {
        Setlist& list = setlists[static_cast<size_t>(s)];
        // Setlist 0 is the demo setlist; the others are lettered from A.
        const std::string name =
            s == 0 ? "Demo Mode" : "Setlist " + std::string(1, static_cast<char>('A' + s - 1));
        copyText(list.name, name.c_str());
        list.flag = s == 0 ? 1 : 0; // the demo setlist is the one that comes marked
        for (int k = 0; k < kSlotsPerSetlist; ++k) {
            // The demo setlist comes filled so that the pedal has something to show.
            list.preset[static_cast<size_t>(k)] = s == 0 ? static_cast<uint8_t>(k) : kEmptySlot;
            list.program[static_cast<size_t>(k)] = s == 0 ? static_cast<uint8_t>(k) : 0;
        }
    }
}

} // namespace

SimPedal::SimPedal(SimOptions options) : options_(std::move(options)), faultRandom_(faults_.seed) {
    for (size_t i = 0; i < name_.size() && i < options_.name.size(); ++i)
        name_[i] = static_cast<uint8_t>(options_.name[i]);
    const uint8_t id[12] = {'T', 'V', 0x23, 0x1C, 0x00, 0x02, 0x5A, 0xA5, 0, 0, 0, 0};
    std::memcpy(uniqueId_.data(), id, sizeof id);
    putU32(uniqueId_.data() + 8, options_.serial);
    for (int slot = 0; slot < kUserPresetCount; ++slot) {
        // User slots leave the factory as copies of the factory presets.
        StoredPreset& user = userPresets_[static_cast<size_t>(slot)];
        copyText(user.name, factoryPreset(slot)->name);
        copyText(user.description, factoryPreset(slot)->description);
        user.values = factoryValues(slot);
    }
    resetSettings();
    statusFlags_ = 0;
}

void SimPedal::resetSettings() {
    for (const FieldSpec& spec : fieldTable())
        if (spec.command == preset::kGlobalValues) globals_[spec.item] = spec.defaultValue;
    setlistDefaults(setlists_);
    modeSwitch_ = false;
    setlistSlot_ = 0;
    loadPreset(0);
}

void SimPedal::setFaults(const Faults& faults) {
    faults_ = faults;
    faultRandom_.seed(faults.seed);
    if (faults_.unplugAfter >= 0 && counters_.exchanges >= static_cast<uint64_t>(faults_.unplugAfter))
        unplugged_ = true;
}

Fate SimPedal::nextFate() {
    const double total = faults_.failRate + faults_.dropRate + faults_.lateRate;
    if (total <= 0.0) return Fate::deliver;
    const double draw = std::uniform_real_distribution<double>(0.0, 1.0)(faultRandom_);
    if (draw < faults_.failRate) {
        ++counters_.failed;
        return Fate::fail;
    }
    if (draw < faults_.failRate + faults_.dropRate) {
        ++counters_.dropped;
        return Fate::drop;
    }
    if (draw < total) {
        ++counters_.late;
        return Fate::late;
    }
    return Fate::deliver;
}

void SimPedal::completeExchange() {
    ++counters_.exchanges;
    if (faults_.unplugAfter >= 0 && counters_.exchanges >= static_cast<uint64_t>(faults_.unplugAfter))
        unplugged_ = true;
}

bool SimPedal::handleOutputReport(const Payload& payload) {
    if (unplugged_ || updateMode_) return false;
    ++counters_.outputReports;
    Header header;
    const bool isHeader = decodeHeader(payload, header);
    if (awaitingData_ && !isHeader) {
        awaitingData_ = false;
        ++counters_.writes;
        handleWrite(pendingWrite_, payload);
        completeExchange();
        return true;
    }
    // A header in place of data means the data report was lost: the pedal
    // starts over with the new header rather than taking it for data.
    awaitingData_ = false;
    if (!isHeader) {
        ++counters_.malformed;
        tovanTrace("sim pedal: payload is not a header\n");
        return true;
    }
    handleHeader(header);
    return true;
}

bool SimPedal::fetchInputReport(Payload& answer) {
    if (unplugged_ || updateMode_) return false;
    ++counters_.inputReports;
    answer = latestAnswer_;
    if (answerPending_) {
        answerPending_ = false;
        completeExchange();
    }
    return true;
}

void SimPedal::handleHeader(const Header& header) {
    if (header.direction == kWrite) {
        awaitingData_ = true;
        pendingWrite_ = header;
        return;
    }
    if (header.direction != kRequest) {
        ++counters_.malformed;
        return;
    }
    ++counters_.requests;
    latestAnswer_ = answerRequest(header);
    answerPending_ = true;
}

bool SimPedal::hasField(uint16_t command, uint8_t filter, uint8_t item) const {
    return isValueCommand(command) && filter < filterCount(command) && item < itemCount(command);
}

int16_t* SimPedal::field(uint16_t command, uint8_t filter, uint8_t item) {
    if (!hasField(command, filter, item)) return nullptr;
    switch (command) {
    case preset::kCommonValues:
        return &editBuffer_.common[item];
    case preset::kFilterValues:
        return &editBuffer_.filter[filter][item];
    case preset::kFilterDetails:
        return &editBuffer_.detail[filter][item];
    default:
        return &globals_[item];
    }
}

const int16_t* SimPedal::field(uint16_t command, uint8_t filter, uint8_t item) const {
    return const_cast<SimPedal*>(this)->field(command, filter, item);
}

int16_t SimPedal::value(uint16_t command, uint8_t filter, uint8_t item) const {
    const int16_t* at = field(command, filter, item);
    return at ? *at : 0;
}

PresetValues SimPedal::presetValues(unsigned preset) const {
    if (preset < 100) return factoryValues(static_cast<int>(preset));
    return userPresets_[(preset - 100) % 100].values;
}

void SimPedal::loadPreset(unsigned preset) {
    activePreset_ = preset;
    editBuffer_ = presetValues(preset);
    edited_ = false;
}

std::string SimPedal::presetName(unsigned preset) const {
    if (preset < 100) return factoryPreset(static_cast<int>(preset))->name;
    const auto& name = userPresets_[(preset - 100) % 100].name;
    return std::string(name.data(), strnlen(name.data(), name.size()));
}

unsigned SimPedal::liveFrequency(int filter) const {
    const auto& values = editBuffer_.filter[static_cast<size_t>(filter & 1)];
    const int heel = values[3];
    const int toe = values[2];
    return static_cast<unsigned>(heel + (toe - heel) * static_cast<int>(pedalPosition_) / 1000);
}

unsigned SimPedal::liveHeight(int filter) const {
    const auto& values = editBuffer_.filter[static_cast<size_t>(filter & 1)];
    const int heel = values[1];
    const int toe = values[0];
    return static_cast<unsigned>(heel + (toe - heel) * static_cast<int>(pedalPosition_) / 1000);
}

Payload SimPedal::answerRequest(const Header& header) {
    Payload out{};
    const auto& a = header.address;
    bool known = true;
    if (header.group == kGroupDevice) {
        switch (header.command) {
        case device::kVersions:
            std::copy(options_.firmware.begin(), options_.firmware.end(), out.begin());
            std::copy(options_.secondVersion.begin(), options_.secondVersion.end(), out.begin() + 3);
            break;
        case device::kName:
            std::copy(name_.begin(), name_.end(), out.begin());
            break;
        case device::kUniqueId:
            std::copy(uniqueId_.begin(), uniqueId_.end(), out.begin() + 4);
            break;
        case device::kStatus: {
            uint8_t flags = statusFlags_;
            if (lampA_) flags |= status::kLampA;
            if (lampB_) flags |= status::kLampB;
            if (edited_) flags |= status::kEdited;
            if (modeSwitch_) flags |= status::kModeSwitch;
            out[status::kFlagsByte] = flags;
            out[status::kLockByte] = locked_ ? status::kLocked : 0;
            putU16(out.data() + status::kMarker1Value, static_cast<uint16_t>(liveFrequency(0)));
            putU16(out.data() + status::kMarker2Value, static_cast<uint16_t>(liveFrequency(1)));
            out[status::kMarker1Byte] = static_cast<uint8_t>(liveHeight(0));
            out[status::kMarker2Byte] = static_cast<uint8_t>(liveHeight(1));
            // Events are reported once; the steady states above stay.
            statusFlags_ = 0;
            break;
        }
        default:
            known = false;
        }
    } else if (header.group == kGroupPreset) {
        switch (header.command) {
        case preset::kActive:
            out[0] = encodePresetCode(activePreset_);
            break;
        case preset::kName: {
            if ((a[0] & 0x7F) >= 100) break;
            const std::string name = presetName(decodePresetCode(a[0]));
            std::copy(name.begin(), name.end(), out.begin());
            break;
        }
        case preset::kDescription: {
            if ((a[0] & 0x7F) >= 100 || a[1] > 1) break;
            const unsigned number = decodePresetCode(a[0]);
            std::array<char, 20> text{};
            if (number < 100)
                copyText(text, factoryPreset(static_cast<int>(number))->description);
            else
                text = userPresets_[number - 100].description;
            const size_t from = a[1] == 0 ? 0 : 16;
            const size_t count = a[1] == 0 ? 16 : 4;
            std::copy_n(text.begin() + static_cast<long>(from), count, out.begin());
            break;
        }
        case preset::kCommonValues:
        case preset::kFilterValues:
        case preset::kFilterDetails:
        case preset::kGlobalValues: {
            const uint16_t command = header.command;
            if (a[0] == kBlockRead) {
                const size_t first = kValuesPerBlock * a[2];
                if (a[1] >= filterCount(command) || first >= itemCount(command)) break;
                for (size_t k = 0; k < kValuesPerBlock && first + k < itemCount(command); ++k)
                    putS16(out.data() + 2 * k, value(command, a[1], static_cast<uint8_t>(first + k)));
                break;
            }
            const FieldSpec* spec = findField(command, a[0]);
            if (!spec || !hasField(command, a[1], a[0])) break;
            putS16(out.data(), value(command, a[1], a[0]));
            putS16(out.data() + 2, spec->minimum);
            putS16(out.data() + 4, spec->maximum);
            break;
        }
        case preset::kChangeMasks:
            for (size_t i = 0; i < 4; ++i)
                putU32(out.data() + 4 * i, changeMasks_[i]);
            changeMasks_ = {};
            break;
        default:
            known = false;
        }
    } else if (header.group == kGroupSetlist) {
        const bool inRange = a[0] < kSetlistCount;
        const bool slotInRange = inRange && a[1] < kSlotsPerSetlist;
        switch (header.command) {
        case setlist::kCount:
            out[0] = kSetlistCount;
            break;
        case setlist::kSlotCount:
            out[0] = kSlotsPerSetlist;
            break;
        case setlist::kFlag:
            if (inRange) out[0] = setlists_[a[0]].flag;
            break;
        case setlist::kSlotPreset:
            if (slotInRange) out[0] = setlists_[a[0]].preset[a[1]];
            break;
        case setlist::kSlotProgram:
            if (slotInRange) out[0] = setlists_[a[0]].program[a[1]];
            break;
        case setlist::kName:
            if (inRange && a[1] <= 1) std::copy_n(setlists_[a[0]].name.begin() + 16 * a[1], 16, out.begin());
            break;
        default:
            known = false;
        }
    } else {
        known = false;
    }
    if (!known) {
        ++counters_.unknown;
        tovanTrace("sim pedal: no request %u/%u\n", header.group, header.command);
    }
    return out;
}

void SimPedal::handleWrite(const Header& header, const Payload& data) {
    const auto& a = header.address;
    if (header.group == kGroupDevice) {
        switch (header.command) {
        case device::kEnterUpdate:
            updateMode_ = true;
            return;
        case device::kName:
            // A written name is held until command 5 says the write is over.
            std::copy(data.begin(), data.end(), pendingName_.begin());
            namePending_ = true;
            return;
        case device::kNameDone:
            if (namePending_) name_ = pendingName_;
            namePending_ = false;
            return;
        case device::kReset:
            // Everything but the user presets goes back to the factory state,
            // the name included; the editor writes the name back afterwards.
            name_.fill(0);
            std::memcpy(name_.data(), "Tovan", 5);
            namePending_ = false;
            resetSettings();
            statusFlags_ |= status::kReload;
            return;
        default:
            break;
        }
    } else if (header.group == kGroupPreset) {
        switch (header.command) {
        case preset::kModeSwitch:
            modeSwitch_ = data[0] != 0;
            return;
        case preset::kActive:
            if ((data[0] & 0x7F) >= 100) {
                ++counters_.malformed;
                return;
            }
            loadPreset(decodePresetCode(data[0]));
            setlistSlot_ = 0;
            statusFlags_ |= status::kPresetChanged;
            return;
        case preset::kCommonValues:
        case preset::kFilterValues:
        case preset::kFilterDetails:
        case preset::kGlobalValues: {
            const FieldSpec* spec = findField(header.command, a[0]);
            int16_t* at = field(header.command, a[1], a[0]);
            if (!spec || !at) {
                ++counters_.malformed;
                return;
            }
            *at = clampTo(*spec, getS16(data.data()));
            if (header.command != preset::kGlobalValues) edited_ = true;
            if (header.command == preset::kGlobalValues && a[0] == kActiveSetlistItem) setlistSlot_ = 0;
            return;
        }
        case preset::kRevert:
            loadPreset(activePreset_);
            statusFlags_ |= status::kReload;
            return;
        case preset::kStore:
            if (a[1] >= kUserPresetCount || a[0] > 1) {
                ++counters_.malformed;
                return;
            }
            if (a[0] == 0) {
                storePending_ = true;
                storeSlot_ = a[1];
                storePart0_ = data;
                return;
            }
            // The second half repeats bytes 7-15 of the first; a mismatch means the
            // two halves do not belong together, and nothing is stored.
            if (!storePending_ || storeSlot_ != a[1] ||
                !std::equal(data.begin() + 7, data.end(), storePart0_.begin() + 7)) {
                ++counters_.malformed;
                storePending_ = false;
                return;
            }
            storePending_ = false;
            {
                StoredPreset& user = userPresets_[a[1]];
                std::copy_n(storePart0_.begin(), 3, user.name.begin());
                std::copy_n(storePart0_.begin() + 3, 13, user.description.begin());
                std::copy_n(data.begin(), 7, user.description.begin() + 13);
                user.values = editBuffer_;
                // The stored slot becomes the active preset, as on the pedal itself.
                activePreset_ = 100u + a[1];
                edited_ = false;
                statusFlags_ |= status::kNamesChanged | status::kPresetChanged;
            }
            return;
        case preset::kDelete:
            if (a[0] >= kUserPresetCount) {
                ++counters_.malformed;
                return;
            }
            {
                StoredPreset& user = userPresets_[a[0]];
                copyText(user.name, "---");
                user.description.fill(0);
                user.values = defaultValues();
                statusFlags_ |= status::kNamesChanged;
                if (activePreset_ == 100u + a[0]) {
                    loadPreset(activePreset_);
                    statusFlags_ |= status::kReload;
                }
            }
            return;
        default:
            break;
        }
    } else if (header.group == kGroupSetlist) {
        const bool slotInRange = a[0] < kSetlistCount && a[1] < kSlotsPerSetlist;
        switch (header.command) {
        case setlist::kSlotPreset:
            if (!slotInRange || (data[0] >= 200 && data[0] != kEmptySlot)) break;
            setlists_[a[0]].preset[a[1]] = data[0];
            return;
        case setlist::kSlotProgram:
            if (!slotInRange) break;
            setlists_[a[0]].program[a[1]] = data[0];
            return;
        case setlist::kSlotReset:
            setlistSlot_ = 0;
            return;
        case setlist::kName:
            if (a[0] >= kSetlistCount || a[1] > 1) break;
            std::copy_n(data.begin(), 16, setlists_[a[0]].name.begin() + 16 * a[1]);
            return;
        default:
            break;
        }
        ++counters_.malformed;
        return;
    }
    ++counters_.unknown;
    tovanTrace("sim pedal: no write %u/%u\n", header.group, header.command);
}

bool SimPedal::turnControl(uint16_t command, uint8_t filter, uint8_t item, int16_t newValue) {
    const FieldSpec* spec = findField(command, item);
    int16_t* at = field(command, filter, item);
    if (!spec || !at) return false;
    const int16_t clamped = clampTo(*spec, newValue);
    if (*at == clamped) return true;
    *at = clamped;
    changeMasks_[command - preset::kCommonValues] |= 1u << item;
    statusFlags_ |= status::kValuesChanged;
    if (command != preset::kGlobalValues) edited_ = true;
    return true;
}

void SimPedal::stepPreset(bool up) {
    const int activeSetlist = globals_[kActiveSetlistItem];
    if (activeSetlist > 0 && activeSetlist <= kSetlistCount) {
        // In a setlist the footswitch walks its filled slots.
        const Setlist& list = setlists_[static_cast<size_t>(activeSetlist - 1)];
        for (int tries = 0; tries < kSlotsPerSetlist; ++tries) {
            setlistSlot_ =
                static_cast<uint8_t>((setlistSlot_ + (up ? 1 : kSlotsPerSetlist - 1)) % kSlotsPerSetlist);
            if (list.preset[setlistSlot_] != kEmptySlot) {
                loadPreset(list.preset[setlistSlot_]);
                statusFlags_ |= status::kPresetChanged;
                return;
            }
        }
        return;
    }
    loadPreset(up ? (activePreset_ + 1) % 200 : (activePreset_ + 199) % 200);
    statusFlags_ |= status::kPresetChanged;
}

void SimPedal::setModeSwitch(bool on) {
    modeSwitch_ = on;
}
void SimPedal::setLocked(bool locked) {
    locked_ = locked;
}

void SimPedal::setLamps(Lamps lamps) {
    lampA_ = lamps.a;
    lampB_ = lamps.b;
}

void SimPedal::setPedalPosition(unsigned permille) {
    pedalPosition_ = std::min(permille, 1000u);
}

const char* SimPedal::playStep(std::mt19937& random) {
    const int action = std::uniform_int_distribution<int>(0, 99)(random);
    if (action < 60) {
        // Turn a knob of one of the filters.
        const uint16_t command = action < 20 ? preset::kFilterValues : preset::kFilterDetails;
        const auto filter = static_cast<uint8_t>(action % 2);
        const auto item =
            static_cast<uint8_t>(std::uniform_int_distribution<int>(0, itemCount(command) - 1)(random));
        const FieldSpec* spec = findField(command, item);
        turnControl(
            command, filter, item,
            static_cast<int16_t>(std::uniform_int_distribution<int>(spec->minimum, spec->maximum)(random)));
        return "knob";
    }
    if (action < 90) {
        setPedalPosition(static_cast<unsigned>(std::uniform_int_distribution<int>(0, 1000)(random)));
        return "pedal";
    }
    if (action < 97) {
        stepPreset(action % 2 == 0);
        return "preset";
    }
    modeSwitch_ = !modeSwitch_;
    return "mode";
}

} // namespace tovan::sim
