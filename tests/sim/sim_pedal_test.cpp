#include "sim/factory_presets.h"
#include "sim/field_table.h"
#include "sim/sim_pedal.h"
#include "tests/sim/pedal_driver.h"

#include <gtest/gtest.h>

#include <set>

namespace tovan::sim {
namespace {

using namespace proto;
using namespace test;

TEST(SimFieldTable, CoversEveryDeviceFieldWithDefaultsInRange) {
    EXPECT_EQ(deviceFieldCount(), 102);
    std::set<std::pair<int, int>> seen;
    for (const FieldSpec& f : fieldTable()) {
        EXPECT_TRUE(seen.insert({f.command, f.item}).second) << f.name;
        EXPECT_LT(f.item, itemCount(f.command)) << f.name;
        EXPECT_LE(f.minimum, f.defaultValue) << f.name;
        EXPECT_LE(f.defaultValue, f.maximum) << f.name;
    }
    for (uint16_t command = 5; command <= 8; ++command)
        for (uint8_t item = 0; item < itemCount(command); ++item)
            EXPECT_NE(findField(command, item), nullptr) << command << "/" << int(item);
}

TEST(SimFieldTable, EnumerationsSpanTheirValueNames) {
    struct Expect {
        uint16_t command;
        uint8_t item;
        int min, max;
    };
    // Value-name counts: filter type 2, taper 19 around 0, control source 4,
    // sync source 5, multipliers 11, LFO shape 7, pitch mode 2, anchor 3,
    // instrument 3, switch mode 4, off delay 9, MIDI channels 16 / 17.
    const Expect expects[] = {{6, 4, 0, 1},   {6, 5, -9, 9}, {7, 0, 0, 3},  {7, 1, 0, 4},    {7, 6, 0, 10},
                              {7, 24, 0, 10}, {7, 7, 0, 6},  {7, 14, 0, 1}, {7, 17, 0, 2},   {8, 1, 0, 2},
                              {8, 4, 0, 3},   {8, 5, 0, 8},  {8, 9, 0, 15}, {8, 10, 0, 15},  {8, 14, 0, 16},
                              {8, 15, 0, 16}, {8, 11, 0, 1}, {8, 17, 0, 1}, {8, 12, 0, 127}, {8, 18, 0, 1}};
    for (const Expect& e : expects) {
        const FieldSpec* f = findField(e.command, e.item);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->minimum, e.min) << f->name;
        EXPECT_EQ(f->maximum, e.max) << f->name;
    }
    EXPECT_EQ(findField(8, 0)->defaultValue, 40);
}

TEST(SimPedalDevice, VersionsNameAndIdentity) {
    SimOptions options;
    options.name = "Stage left";
    options.firmware = {1, 6, 2};
    options.serial = 0x01020304;
    SimPedal pedal(options);

    const Payload versions = request(pedal, kGroupDevice, device::kVersions);
    EXPECT_EQ(versions[0], 1);
    EXPECT_EQ(versions[1], 6);
    EXPECT_EQ(versions[2], 2);
    EXPECT_EQ(versions[3], 1);
    EXPECT_EQ(text(request(pedal, kGroupDevice, device::kName), 0, 16), "Stage left");

    const Payload id = request(pedal, kGroupDevice, device::kUniqueId);
    EXPECT_EQ(id[0] | id[1] | id[2] | id[3], 0);
    EXPECT_EQ(id[4], 'T');
    EXPECT_EQ(getU32(id.data() + 12), 0x01020304u);

    write(pedal, kGroupDevice, device::kName, {}, bytes({'B', 'a', 's', 's', ' ', 'r', 'i', 'g'}));
    write(pedal, kGroupDevice, device::kNameDone, {}, {});
    EXPECT_EQ(text(request(pedal, kGroupDevice, device::kName), 0, 16), "Bass rig");
    EXPECT_EQ(SimPedal().counters().exchanges, 0u);
    EXPECT_EQ(pedal.counters().exchanges, 6u);
    EXPECT_EQ(pedal.counters().writes, 2u);
}

TEST(SimPedalDevice, ResetKeepsUserPresetsAndAsksForReload) {
    SimPedal pedal;
    write(pedal, kGroupPreset, preset::kGlobalValues, {3, 0, 0, 0}, bytes({7}));
    write(pedal, kGroupSetlist, setlist::kSlotPreset, {4, 2, 0, 0}, bytes({150}));
    write(pedal, kGroupPreset, preset::kStore, {0, 5, 0, 0}, bytes({'M', 'I', 'N', 'a', 'b'}));
    write(pedal, kGroupPreset, preset::kStore, {1, 5, 0, 0}, {});
    write(pedal, kGroupDevice, device::kName, {}, bytes({'X'}));
    request(pedal, kGroupDevice, device::kStatus); // consume earlier events

    write(pedal, kGroupDevice, device::kReset, {}, {});
    EXPECT_EQ(pedal.value(8, 0, 3), findField(8, 3)->defaultValue);
    EXPECT_EQ(pedal.setlist(4).preset[2], kEmptySlot);
    EXPECT_EQ(std::string(pedal.userPreset(5).name.data(), 3), "MIN");
    EXPECT_EQ(text(request(pedal, kGroupDevice, device::kName), 0, 16), "Tovan");
    EXPECT_TRUE(request(pedal, kGroupDevice, device::kStatus)[0] & status::kReload);
}

TEST(SimPedalPresets, SelectAndReadActiveUsePresetCodes) {
    SimPedal pedal;
    EXPECT_EQ(request(pedal, kGroupPreset, preset::kActive)[0], 0);
    write(pedal, kGroupPreset, preset::kActive, {}, bytes({0xE3}));
    EXPECT_EQ(pedal.activePreset(), 199u);
    EXPECT_EQ(request(pedal, kGroupPreset, preset::kActive)[0], 0xE3);
    write(pedal, kGroupPreset, preset::kActive, {}, bytes({42}));
    EXPECT_EQ(decodePresetCode(request(pedal, kGroupPreset, preset::kActive)[0]), 42u);

    // A preset change is reported once.
    EXPECT_TRUE(request(pedal, kGroupDevice, device::kStatus)[0] & status::kPresetChanged);
    EXPECT_FALSE(request(pedal, kGroupDevice, device::kStatus)[0] & status::kPresetChanged);

    // Slot numbers past 99 do not exist: the pedal stays where it is.
    write(pedal, kGroupPreset, preset::kActive, {}, bytes({0xFF}));
    EXPECT_EQ(pedal.activePreset(), 42u);
    EXPECT_EQ(pedal.counters().malformed, 1u);
}

TEST(SimPedalPresets, NamesAndDescriptionsInTwoParts) {
    SimPedal pedal;
    for (int n = 0; n < 100; ++n) {
        const FactoryPreset* expected = factoryPreset(n);
        const std::string name = text(request(pedal, kGroupPreset, preset::kName, {uint8_t(n)}), 0, 3);
        EXPECT_EQ(name.size(), 3u) << n;
        EXPECT_EQ(name, expected->name);
        const Payload part0 = request(pedal, kGroupPreset, preset::kDescription, {uint8_t(n), 0});
        const Payload part1 = request(pedal, kGroupPreset, preset::kDescription, {uint8_t(n), 1});
        std::string description = text(part0, 0, 16);
        if (description.size() == 16) description += text(part1, 0, 4);
        EXPECT_EQ(description, expected->description) << n;
        EXPECT_LE(description.size(), 20u);
        EXPECT_EQ(part1[4] | part1[15], 0);
    }
    EXPECT_STREQ(effectTypeName(0), "Pedal");
    EXPECT_STREQ(effectTypeName(9), "Mixup|Exotic");
    // User slots leave the factory as copies of the factory presets.
    EXPECT_EQ(text(request(pedal, kGroupPreset, preset::kName, {0x80 + 3}), 0, 3), factoryPreset(3)->name);
}

TEST(SimPedalPresets, StoreTakesTheEditBufferInTwoMatchingParts) {
    SimPedal pedal;
    write(pedal, kGroupPreset, preset::kFilterDetails, {3, 1, 0, 0}, bytes({77}));
    Payload part0 = bytes({'Y', 'O', 'W', 'T', 'h', 'e', ' ', 'w', 'a', 'h', ' ', 'o', 'f', ' ', 'd', 'o'});
    Payload part1 = bytes({'o', 'm', ' ', 'x', 'y', 'z', '!'});
    std::copy(part0.begin() + 7, part0.end(), part1.begin() + 7);

    // Halves that do not belong together store nothing.
    Payload wrongPart1 = part1;
    wrongPart1[9] ^= 1;
    write(pedal, kGroupPreset, preset::kStore, {0, 9, 0, 0}, part0);
    write(pedal, kGroupPreset, preset::kStore, {1, 9, 0, 0}, wrongPart1);
    EXPECT_EQ(std::string(pedal.userPreset(9).name.data(), 3), factoryPreset(9)->name);

    write(pedal, kGroupPreset, preset::kStore, {0, 9, 0, 0}, part0);
    write(pedal, kGroupPreset, preset::kStore, {1, 9, 0, 0}, part1);
    EXPECT_EQ(text(request(pedal, kGroupPreset, preset::kName, {0x89}), 0, 3), "YOW");
    const std::string description =
        text(request(pedal, kGroupPreset, preset::kDescription, {0x89, 0}), 0, 16) +
        text(request(pedal, kGroupPreset, preset::kDescription, {0x89, 1}), 0, 4);
    EXPECT_EQ(description, "The wah of doom xyz!");
    EXPECT_EQ(pedal.activePreset(), 109u);
    EXPECT_FALSE(pedal.edited());
    EXPECT_TRUE(request(pedal, kGroupDevice, device::kStatus)[0] & status::kNamesChanged);

    // The stored values come back when the preset is selected again.
    write(pedal, kGroupPreset, preset::kActive, {}, bytes({0}));
    write(pedal, kGroupPreset, preset::kActive, {}, bytes({0x89}));
    EXPECT_EQ(getS16(request(pedal, kGroupPreset, 7, {3, 1, 0, 0}).data()), 77);
}

TEST(SimPedalPresets, RevertAndDelete) {
    SimPedal pedal;
    const int16_t original = pedal.value(6, 0, 0);
    write(pedal, kGroupPreset, preset::kFilterValues, {0, 0, 0, 0}, bytes({0x10, 0x01}));
    EXPECT_TRUE(pedal.edited());
    EXPECT_TRUE(request(pedal, kGroupDevice, device::kStatus)[0] & status::kEdited);
    write(pedal, kGroupPreset, preset::kRevert, {}, {});
    EXPECT_FALSE(pedal.edited());
    EXPECT_EQ(pedal.value(6, 0, 0), original);
    EXPECT_TRUE(request(pedal, kGroupDevice, device::kStatus)[0] & status::kReload);

    write(pedal, kGroupPreset, preset::kDelete, {12}, {});
    EXPECT_EQ(text(request(pedal, kGroupPreset, preset::kName, {0x80 + 12}), 0, 3), "---");
    EXPECT_EQ(request(pedal, kGroupPreset, preset::kDescription, {0x80 + 12, 0})[0], 0);
    EXPECT_TRUE(request(pedal, kGroupDevice, device::kStatus)[0] & status::kNamesChanged);
}

TEST(SimPedalValues, SingleReadsCarryTheRangeAndBlocksTheValues) {
    SimPedal pedal;
    write(pedal, kGroupPreset, preset::kActive, {}, bytes({37}));
    int fields = 0;
    for (uint16_t command = 5; command <= 8; ++command) {
        for (uint8_t filter = 0; filter < filterCount(command); ++filter) {
            for (uint8_t block = 0; block * kValuesPerBlock < itemCount(command); ++block) {
                const Payload values = request(pedal, kGroupPreset, command, {kBlockRead, filter, block});
                for (size_t k = 0; k < kValuesPerBlock; ++k) {
                    const size_t item = block * kValuesPerBlock + k;
                    if (item >= itemCount(command)) {
                        EXPECT_EQ(getS16(values.data() + 2 * k), 0);
                        continue;
                    }
                    const Payload one = request(pedal, kGroupPreset, command, {uint8_t(item), filter});
                    const FieldSpec* spec = findField(command, uint8_t(item));
                    EXPECT_EQ(getS16(one.data()), getS16(values.data() + 2 * k));
                    EXPECT_EQ(getS16(one.data() + 2), spec->minimum);
                    EXPECT_EQ(getS16(one.data() + 4), spec->maximum);
                    EXPECT_GE(getS16(one.data()), spec->minimum);
                    EXPECT_LE(getS16(one.data()), spec->maximum);
                    ++fields;
                }
            }
        }
    }
    EXPECT_EQ(fields, 102);
    // Commands 5 and 8 have no second filter; blocks past the end are empty.
    EXPECT_EQ(request(pedal, kGroupPreset, 5, {0, 1}), Payload{});
    EXPECT_EQ(request(pedal, kGroupPreset, 8, {kBlockRead, 0, 3}), Payload{});
}

TEST(SimPedalValues, WritesClampAndOnlyPresetFieldsMarkTheEdit) {
    SimPedal pedal;
    write(pedal, kGroupPreset, preset::kGlobalValues, {12, 0, 0, 0}, bytes({0x2C, 0x01})); // 300
    EXPECT_EQ(pedal.value(8, 0, 12), 127);
    EXPECT_FALSE(pedal.edited());
    write(pedal, kGroupPreset, preset::kFilterValues, {5, 1, 0, 0}, bytes({0xF0, 0xFF})); // -16
    EXPECT_EQ(pedal.value(6, 1, 5), -9);
    EXPECT_TRUE(pedal.edited());
    // The editor's own writes are not reported back as pedal changes.
    EXPECT_FALSE(request(pedal, kGroupDevice, device::kStatus)[0] & status::kValuesChanged);
    EXPECT_EQ(request(pedal, kGroupPreset, preset::kChangeMasks), Payload{});
    // Fields that do not exist are ignored.
    write(pedal, kGroupPreset, preset::kCommonValues, {9, 0, 0, 0}, bytes({1}));
    write(pedal, kGroupPreset, preset::kGlobalValues, {0, 1, 0, 0}, bytes({1}));
    EXPECT_EQ(pedal.counters().malformed, 2u);
}

TEST(SimPedalSetlists, CountsSlotsFlagsAndNames) {
    SimPedal pedal;
    EXPECT_EQ(request(pedal, kGroupSetlist, setlist::kCount)[0], 12);
    EXPECT_EQ(request(pedal, kGroupSetlist, setlist::kSlotCount)[0], 20);
    EXPECT_EQ(request(pedal, kGroupSetlist, setlist::kFlag, {2})[0], 0);
    EXPECT_NE(request(pedal, kGroupSetlist, setlist::kFlag, {0})[0], 0);
    EXPECT_EQ(text(request(pedal, kGroupSetlist, setlist::kName, {0, 0}), 0, 16), "Demo Mode");
    EXPECT_EQ(text(request(pedal, kGroupSetlist, setlist::kName, {11, 0}), 0, 16), "Setlist K");

    write(pedal, kGroupSetlist, setlist::kSlotPreset, {11, 19}, bytes({0xC7}));
    write(pedal, kGroupSetlist, setlist::kSlotProgram, {11, 19}, bytes({64}));
    EXPECT_EQ(request(pedal, kGroupSetlist, setlist::kSlotPreset, {11, 19})[0], 199);
    EXPECT_EQ(request(pedal, kGroupSetlist, setlist::kSlotProgram, {11, 19})[0], 64);
    EXPECT_EQ(request(pedal, kGroupSetlist, setlist::kSlotPreset, {11, 18})[0], kEmptySlot);

    Payload name0{}, name1{};
    for (size_t i = 0; i < 16; ++i) {
        name0[i] = uint8_t('a' + i);
        name1[i] = uint8_t('A' + i);
    }
    write(pedal, kGroupSetlist, setlist::kName, {3, 0}, name0);
    write(pedal, kGroupSetlist, setlist::kName, {3, 1}, name1);
    EXPECT_EQ(request(pedal, kGroupSetlist, setlist::kName, {3, 1}), name1);
    EXPECT_EQ(std::string(pedal.setlist(3).name.data(), 32), "abcdefghijklmnopABCDEFGHIJKLMNOP");

    // Out-of-range setlists and slots neither answer nor change anything.
    EXPECT_EQ(request(pedal, kGroupSetlist, setlist::kSlotPreset, {12, 0}), Payload{});
    write(pedal, kGroupSetlist, setlist::kSlotPreset, {0, 20}, bytes({5}));
    write(pedal, kGroupSetlist, setlist::kSlotPreset, {0, 1}, bytes({200}));
    EXPECT_EQ(pedal.setlist(0).preset[1], 1);
    write(pedal, kGroupSetlist, setlist::kSlotReset, {}, {});
    EXPECT_EQ(pedal.counters().malformed, 2u);
}

TEST(SimPedalStatus, SteadyStatesAndLiveFilterPositions) {
    SimPedal pedal;
    pedal.setLamps({.a = false, .b = true});
    pedal.setLocked(true);
    write(pedal, kGroupPreset, preset::kModeSwitch, {}, bytes({1}));
    write(pedal, kGroupPreset, preset::kFilterValues, {3, 0}, bytes({0xE8, 0x03})); // heel 1000 Hz
    write(pedal, kGroupPreset, preset::kFilterValues, {1, 0}, bytes({20}));         // heel height 20
    write(pedal, kGroupPreset, preset::kFilterValues, {0, 0}, bytes({60}));         // toe height 60
    write(pedal, kGroupPreset, preset::kFilterValues, {2, 0}, bytes({0xD0, 0x07})); // toe 2000 Hz
    pedal.setPedalPosition(250);

    const Payload record = request(pedal, kGroupDevice, device::kStatus);
    EXPECT_EQ(record[0], status::kLampB | status::kEdited | status::kModeSwitch);
    EXPECT_EQ(record[1], status::kLocked);
    EXPECT_EQ(getU16(record.data() + 8), 1250);
    EXPECT_EQ(getU16(record.data() + 10), pedal.liveFrequency(1));
    EXPECT_EQ(record[12], 30); // a quarter of the way from heel height to toe height

    pedal.setLocked(false);
    write(pedal, kGroupPreset, preset::kModeSwitch, {}, bytes({0}));
    const Payload after = request(pedal, kGroupDevice, device::kStatus);
    EXPECT_EQ(after[1], 0);
    EXPECT_FALSE(after[0] & status::kModeSwitch);
}

TEST(SimPedalFraming, StrayPayloadsAndLostDataReports) {
    SimPedal pedal;
    Payload answer{};
    EXPECT_TRUE(pedal.fetchInputReport(answer));
    EXPECT_EQ(answer, Payload{}); // nothing asked yet

    EXPECT_TRUE(pedal.handleOutputReport(bytes({1, 2, 3})));
    EXPECT_EQ(pedal.counters().malformed, 1u);

    // A write header whose data report was lost, then a new request: the
    // request is answered, not taken for data.
    pedal.handleOutputReport(header(kWrite, kGroupPreset, preset::kActive));
    EXPECT_EQ(request(pedal, kGroupSetlist, setlist::kCount)[0], 12);
    EXPECT_EQ(pedal.activePreset(), 0u);

    // Unknown commands and directions answer zeros and change nothing.
    EXPECT_EQ(request(pedal, kGroupDevice, 99), Payload{});
    EXPECT_EQ(request(pedal, 3, 1), Payload{});
    pedal.handleOutputReport(header(7, kGroupDevice, device::kStatus));
    EXPECT_EQ(pedal.counters().unknown, 2u);
    EXPECT_EQ(pedal.counters().malformed, 2u);

    // Reading twice returns the same answer but counts one exchange.
    const uint64_t before = pedal.counters().exchanges;
    pedal.handleOutputReport(header(kRequest, kGroupSetlist, setlist::kSlotCount));
    pedal.fetchInputReport(answer);
    pedal.fetchInputReport(answer);
    EXPECT_EQ(answer[0], 20);
    EXPECT_EQ(pedal.counters().exchanges, before + 1);
}

TEST(SimPedalFaults, UnplugAfterExchangesAndFailEverything) {
    SimPedal pedal;
    Faults faults;
    faults.unplugAfter = 3;
    pedal.setFaults(faults);
    request(pedal, kGroupDevice, device::kStatus);
    write(pedal, kGroupPreset, preset::kModeSwitch, {}, bytes({1}));
    EXPECT_FALSE(pedal.unplugged());
    request(pedal, kGroupDevice, device::kStatus);
    EXPECT_TRUE(pedal.unplugged());
    Payload answer{};
    EXPECT_FALSE(pedal.handleOutputReport(header(kRequest, kGroupDevice, device::kStatus)));
    EXPECT_FALSE(pedal.fetchInputReport(answer));

    SimPedal failing;
    Faults all;
    all.failRate = 1.0;
    failing.setFaults(all);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(failing.nextFate(), Fate::fail);
    EXPECT_EQ(failing.counters().failed, 5u);

    SimPedal mixed;
    Faults some;
    some.dropRate = 0.5;
    some.seed = 7;
    mixed.setFaults(some);
    int dropped = 0;
    for (int i = 0; i < 200; ++i)
        dropped += mixed.nextFate() == Fate::drop;
    EXPECT_GT(dropped, 50);
    EXPECT_LT(dropped, 150);
}

TEST(SimPedalDevice, UpdateModeLeavesTheBus) {
    SimPedal pedal;
    write(pedal, kGroupDevice, device::kEnterUpdate, {}, {});
    EXPECT_TRUE(pedal.inUpdateMode());
    EXPECT_FALSE(pedal.handleOutputReport(header(kRequest, kGroupDevice, device::kStatus)));
}

TEST(SimPedalState, JsonCarriesWhatTestsCheck) {
    SimPedal pedal;
    write(pedal, kGroupDevice, device::kName, {}, bytes({'Q', '"', 1}));
    // The name is kept only once command 5 says the name write is over.
    EXPECT_NE(pedal.stateJson().find("\"name\":\"Tovan\""), std::string::npos);
    EXPECT_NE(pedal.stateJson().find("\"name_saved\":false"), std::string::npos);
    write(pedal, kGroupDevice, device::kNameDone, {}, {});
    const std::string json = pedal.stateJson();
    EXPECT_NE(json.find("\"name\":\"Q\\\"\\u0001\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"firmware\":\"1.5.0\""), std::string::npos);
    EXPECT_NE(json.find("\"writes\":2"), std::string::npos);
    EXPECT_NE(json.find("\"setlists\":[{\"name\":\"Demo Mode\""), std::string::npos);
    EXPECT_EQ(json.front(), '{');
    EXPECT_EQ(json.back(), '}');
}

} // namespace
} // namespace tovan::sim
