#include "sim/sim_pedal.h"
#include "tests/sim/pedal_driver.h"

#include <gtest/gtest.h>

#include <map>

namespace tovan::sim {
namespace {

using namespace proto;
using namespace test;

// What an editor that follows the status record would hold.
using Mirror = std::map<std::tuple<int, int, int>, int16_t>;

Mirror readAll(SimPedal& pedal) {
    Mirror values;
    for (uint16_t command = 5; command <= 8; ++command)
        for (uint8_t filter = 0; filter < filterCount(command); ++filter)
            for (uint8_t item = 0; item < itemCount(command); ++item)
                values[{command, filter, item}] =
                    getS16(request(pedal, kGroupPreset, command, {item, filter}).data());
    return values;
}

// Reacts to one status record the way the editor does: masks, then the
// flagged items of every filter; a preset change or reload reads everything.
void follow(SimPedal& pedal, Mirror& mirror) {
    const Payload record = request(pedal, kGroupDevice, device::kStatus);
    if (record[0] & status::kValuesChanged) {
        const Payload masks = request(pedal, kGroupPreset, preset::kChangeMasks);
        for (uint16_t command = 5; command <= 8; ++command) {
            const uint32_t mask = getU32(masks.data() + 4 * (command - 5));
            for (uint8_t item = 0; item < 32; ++item) {
                if (!(mask & (1u << item))) continue;
                for (uint8_t filter = 0; filter < filterCount(command); ++filter)
                    mirror[{command, filter, item}] =
                        getS16(request(pedal, kGroupPreset, command, {item, filter}).data());
            }
        }
    }
    if (record[0] & (status::kPresetChanged | status::kReload)) mirror = readAll(pedal);
}

TEST(SimPedalPlay, StatusAndMasksLetAFollowerKeepUp) {
    SimPedal pedal;
    Mirror mirror = readAll(pedal);
    std::mt19937 random(12345);
    int polls = 0;
    for (int step = 0; step < 400; ++step) {
        pedal.playStep(random);
        // Sometimes several moves land between two polls.
        if (step % 3 == 0) continue;
        follow(pedal, mirror);
        ++polls;
        ASSERT_EQ(mirror, readAll(pedal)) << "after step " << step;
    }
    EXPECT_GT(polls, 200);
}

TEST(SimPedalPlay, TurningAControlMarksItOnceAndMarksTheEdit) {
    SimPedal pedal;
    EXPECT_TRUE(pedal.turnControl(7, 1, 30, 55));
    EXPECT_TRUE(pedal.turnControl(8, 0, 2, 10));
    EXPECT_FALSE(pedal.turnControl(5, 1, 0, 1)); // no second filter for command 5
    EXPECT_FALSE(pedal.turnControl(6, 0, 7, 1));

    const Payload record = request(pedal, kGroupDevice, device::kStatus);
    EXPECT_TRUE(record[0] & status::kValuesChanged);
    EXPECT_TRUE(record[0] & status::kEdited);
    const Payload masks = request(pedal, kGroupPreset, preset::kChangeMasks);
    EXPECT_EQ(getU32(masks.data() + 8), 1u << 30);
    EXPECT_EQ(getU32(masks.data() + 12), 1u << 2);
    EXPECT_EQ(request(pedal, kGroupPreset, preset::kChangeMasks), Payload{});
    EXPECT_FALSE(request(pedal, kGroupDevice, device::kStatus)[0] & status::kValuesChanged);
}

TEST(SimPedalPlay, SteppingWrapsOrWalksTheActiveSetlist) {
    SimPedal pedal;
    pedal.stepPreset(false);
    EXPECT_EQ(pedal.activePreset(), 199u);
    pedal.stepPreset(true);
    EXPECT_EQ(pedal.activePreset(), 0u);

    // Setlist 2 (value 2 = the second setlist) with two filled slots.
    write(pedal, kGroupSetlist, setlist::kSlotPreset, {1, 4}, bytes({150}));
    write(pedal, kGroupSetlist, setlist::kSlotPreset, {1, 9}, bytes({7}));
    write(pedal, kGroupPreset, preset::kGlobalValues, {16, 0}, bytes({2}));
    pedal.stepPreset(true);
    EXPECT_EQ(pedal.activePreset(), 150u);
    pedal.stepPreset(true);
    EXPECT_EQ(pedal.activePreset(), 7u);
    pedal.stepPreset(true);
    EXPECT_EQ(pedal.activePreset(), 150u);
    EXPECT_TRUE(request(pedal, kGroupDevice, device::kStatus)[0] & status::kPresetChanged);
}

} // namespace
} // namespace tovan::sim
