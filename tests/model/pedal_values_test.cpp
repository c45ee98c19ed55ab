#include <gtest/gtest.h>

#include "model/pedal_values.h"

TEST(ValueNames, FilterTwoSharesFilterOnesLists) {
    for (int32_t index : {18, 19, 21, 22, 28, 29, 30, 48, 51}) {
        ASSERT_FALSE(valueNames(index).empty()) << index;
        EXPECT_EQ(valueNames(index).data(), valueNames(index + 39).data()) << index;
    }
    EXPECT_EQ(valueNames(19).size(), 19u);
    EXPECT_EQ(valueName(19, 9), "Linear");
    EXPECT_EQ(valueName(58, 0), "Lo 9");
    EXPECT_EQ(valueName(58, 18), "Hi 9");
    EXPECT_EQ(valueName(30, 6), "Random");
    EXPECT_EQ(valueName(29, 10), "1/16");
    EXPECT_EQ(valueName(90, 1), "Centre");
    EXPECT_EQ(valueName(19, 19), "");
    EXPECT_EQ(valueName(19, -1), "");
    EXPECT_EQ(valueForName(60, "MIDI Cutoff+Resonance"), 2);
    EXPECT_EQ(valueForName(60, "nothing"), -1);
}

TEST(ValueNames, GlobalListsHaveTheirSizes) {
    EXPECT_EQ(valueNames(93).size(), 3u);
    EXPECT_EQ(valueNames(96).size(), 4u);
    EXPECT_EQ(valueName(97, 0), "OFF");
    EXPECT_EQ(valueName(97, 8), "4.0s");
    EXPECT_EQ(valueNames(101).size(), 16u);
    EXPECT_EQ(valueName(102, 15), "16");
    EXPECT_EQ(valueNames(106).size(), 17u);
    EXPECT_EQ(valueName(106, 0), "Omni");
    EXPECT_EQ(valueName(107, 0), "Off");
    EXPECT_EQ(valueNames(109).size(), 14u);
    EXPECT_EQ(valueName(109, 13), "Setlist L");
    EXPECT_EQ(valueName(110, 1), "Slot Number (Lnn)");
    for (int32_t plain : {9, 10, 24, 31, 92, 99, 100, 103, 104, 111, 4096})
        EXPECT_TRUE(valueNames(plain).empty());
}

TEST(ValueNames, OnlyFilterTwoCanFollowFilterOne) {
    const auto first = syncSourceChoices(22);
    EXPECT_EQ(std::vector<int32_t>(first.begin(), first.end()), (std::vector<int32_t>{0, 2, 3, 4}));
    EXPECT_EQ(syncSourceChoices(61).size(), 5u);
    EXPECT_EQ(valueName(61, 1), "F1 sync");
}

TEST(Presets, HeadingsLabelsAndParsing) {
    EXPECT_EQ(presetHeading(0), "Pedal");
    EXPECT_EQ(presetHeading(70), "Pitch Bend|Track");
    EXPECT_EQ(presetHeading(90), "Mixup|Exotic");
    EXPECT_EQ(presetHeading(110), "Pedal Vowels");
    EXPECT_EQ(presetHeading(15), "");
    EXPECT_EQ(presetHeading(200), "");

    EXPECT_EQ(presetLabel(0), "F00");
    EXPECT_EQ(presetLabel(99), "F99");
    EXPECT_EQ(presetLabel(100), "P00");
    EXPECT_EQ(presetLabel(199), "P99");
    EXPECT_TRUE(isUserPreset(100));
    EXPECT_EQ(presetSlot(100), 0);

    EXPECT_EQ(parsePresetLabel("F07"), 7);
    EXPECT_EQ(parsePresetLabel("p42"), 142);
    EXPECT_EQ(parsePresetLabel("150"), 150);
    EXPECT_EQ(parsePresetLabel("0"), 0);
    for (const char* bad : {"", "F", "F7", "F100", "X07", "200", "-1", "12a", "P-1"})
        EXPECT_EQ(parsePresetLabel(bad), -1) << bad;
}

TEST(MidiControllers, TitlesCarryNumberAndName) {
    EXPECT_EQ(midiControllerTitle(1), "1:Mod Wheel");
    EXPECT_EQ(midiControllerTitle(3), "3:(undefined)");
    EXPECT_EQ(midiControllerTitle(79), "79:Sound Control 10");
    EXPECT_EQ(midiControllerTitle(127), "127:Poly Mode");
    EXPECT_EQ(midiControllerName(33), "");
}
