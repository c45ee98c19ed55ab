#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "../support/trace_capture.h"
#include "model/parameter_kinds.h"
#include "model/pedal_parameters.h"

namespace {

std::unique_ptr<PARAMETER_MANAGER> build() {
    return buildPedalParameterSet(nullptr);
}

std::string formatted(PARAMETER_MANAGER& manager, int32_t index) {
    char text[kParameterTextSize];
    manager.Format(index, text, 0, 255);
    return text;
}

} // namespace

TEST(PedalParameterSet, RegistersExactlyTheKnownIndexes) {
    auto manager = build();
    ASSERT_EQ(manager->Size(), 173);
    std::set<int32_t> registered;
    for (int32_t i = 0; i < manager->Size(); ++i)
        if (manager->Find(i) != nullptr) registered.insert(i);
    EXPECT_EQ(registered.size(), 106u);
    for (int32_t empty : {0, 2, 3, 4, 6, 111, 140, 172})
        EXPECT_EQ(registered.count(empty), 0u) << empty;
    for (int32_t i = 9; i <= 110; ++i)
        EXPECT_EQ(registered.count(i), 1u) << i;

    EXPECT_NE(dynamic_cast<PARAMETER_FIXEDSTRING*>(manager->Find(8)), nullptr);
    EXPECT_NE(dynamic_cast<PARAMETER_SWITCH*>(manager->Find(1)), nullptr);
    EXPECT_EQ(manager->GetIntMax(1), 127);
    EXPECT_NE(dynamic_cast<PARAMETER_GENERIC_BYTEu*>(manager->Find(7)), nullptr);
    EXPECT_EQ(manager->Find(7)->scale, 200);
    EXPECT_NE(dynamic_cast<PARAMETER_GENERIC_BYTEu*>(manager->Find(5)), nullptr);
    EXPECT_EQ(manager->Find(5)->scale, 1);
    EXPECT_EQ(manager->GetTypeCode(8), 3);
    for (int32_t i : registered) {
        EXPECT_FALSE(manager->IsIntParam(i)) << i;
        EXPECT_EQ(manager->GetIntAttr(i), 1) << i;
        EXPECT_FALSE(parameterName(i).empty()) << i;
        if (i >= 9) {
            EXPECT_NE(dynamic_cast<PARAMETER_GENERIC_INT32s*>(manager->Find(i)), nullptr) << i;
            EXPECT_EQ(manager->GetIntMin(i), 0);
            EXPECT_EQ(manager->GetIntMax(i), 0);
        }
    }
}

TEST(PedalParameterSet, ReadsOfMissingIndexesAreNeutral) {
    TraceCapture trace;
    auto manager = build();
    EXPECT_FLOAT_EQ(manager->GetValue(110), 0.0f);
    EXPECT_FALSE(trace.contains("invalid param GetValue 110"));
    EXPECT_FLOAT_EQ(manager->GetValue(111), 0.0f);
    EXPECT_TRUE(trace.contains("invalid param GetValue 111\n"));
    EXPECT_TRUE(parameterName(111).empty());
}

TEST(PedalParameterSet, DeviceMapAddressesEachFieldOnce) {
    // The pedal's field map, row by row: first index, filter, command, items in index order.
    struct Rows {
        int32_t first;
        uint8_t filter;
        uint8_t command;
        std::vector<uint8_t> items;
    };
    const std::vector<uint8_t> control{0,  1,  2,  3,  4,  5,  23, 6,  24, 7,  8,  9,  10, 19, 20, 21,
                                       26, 11, 22, 12, 13, 25, 27, 30, 28, 29, 31, 14, 15, 16, 17, 18};
    const std::vector<Rows> map{
        {9, 0, 5, {0, 1, 2, 4, 3}}, {14, 0, 6, {0, 1, 2, 3, 4, 5, 6}},
        {21, 0, 7, control},        {53, 1, 6, {0, 1, 2, 3, 4, 5, 6}},
        {60, 1, 7, control},        {92, 0, 8, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {108, 0, 8, {17, 16, 18}},
    };
    int32_t next = 9;
    for (const Rows& rows : map) {
        ASSERT_EQ(rows.first, next);
        for (size_t k = 0; k < rows.items.size(); ++k, ++next) {
            const auto field = deviceFieldOf(next);
            ASSERT_TRUE(field.has_value()) << next;
            EXPECT_EQ(field->index, next);
            EXPECT_EQ(field->filter, rows.filter) << next;
            EXPECT_EQ(field->command, rows.command) << next;
            EXPECT_EQ(field->item, rows.items[k]) << next;
            EXPECT_EQ(parameterAt(rows.filter, rows.command, rows.items[k]), next);
            // The table holds the rows in index order.
            EXPECT_EQ(kDeviceMap[static_cast<size_t>(next - 9)].index, next);
        }
    }
    EXPECT_EQ(next, 111);
    EXPECT_EQ(kDeviceMap.size(), 102u);
    EXPECT_FALSE(deviceFieldOf(8).has_value());
    EXPECT_FALSE(deviceFieldOf(111).has_value());
    EXPECT_EQ(parameterAt(0, 7, 32), -1);
    EXPECT_EQ(parameterAt(1, 5, 0), -1) << "the preset-common values belong to no filter";
}

TEST(PedalParameterSet, FilterTwoMirrorsFilterOne) {
    for (int32_t i = 14; i <= 52; ++i) {
        EXPECT_EQ(parameterName(i), parameterName(i + 39)) << i;
        EXPECT_EQ(deviceFieldOf(i)->item, deviceFieldOf(i + 39)->item) << i;
    }
    EXPECT_EQ(parameterName(18), "FilterType");
    EXPECT_EQ(parameterName(30), "LfoShape");
    EXPECT_EQ(parameterName(109), "ActiveSetlist");
    EXPECT_EQ(parameterName(7), "CurrentPreset");
}

TEST(PedalParameterSet, TenthsFormatsAndDefaults) {
    auto manager = build();
    std::set<int32_t> tenths;
    for (int32_t i = 9; i <= 110; ++i)
        if (static_cast<PARAMETER_GENERIC_INT32s*>(manager->Find(i))->hasDisplayFormat) tenths.insert(i);
    EXPECT_EQ(tenths, (std::set<int32_t>{23, 25, 26, 35, 62, 64, 65, 74, 99}));

    manager->SetValue(23, 1205.0f);
    manager->SetValue(24, 1205.0f);
    EXPECT_EQ(formatted(*manager, 23), "120.5");
    EXPECT_EQ(formatted(*manager, 24), "1205");
    EXPECT_FLOAT_EQ(manager->Find(92)->GetDefault(), 40.0f);
    EXPECT_FLOAT_EQ(manager->Find(93)->GetDefault(), 0.0f);
}

TEST(PedalParameterSet, RangesTapersAndSetlists) {
    auto manager = build();
    setParameterRange(*manager, 19, deviceToEditorValue(19, -9), deviceToEditorValue(19, 9));
    EXPECT_EQ(manager->GetIntMin(19), 0);
    EXPECT_EQ(manager->GetIntMax(19), 18);
    EXPECT_EQ(manager->Find(19)->scale, 18);
    EXPECT_EQ(editorToDeviceValue(58, 0), -9);
    EXPECT_EQ(deviceToEditorValue(58, 3), 12);
    EXPECT_EQ(deviceToEditorValue(20, 3), 3);

    // "Off" and one value per setlist: the last setlist stays reachable.
    setActiveSetlistRange(*manager, 13);
    EXPECT_EQ(manager->GetIntMin(109), 0);
    EXPECT_EQ(manager->GetIntMax(109), 13);
    // With no setlists there is nothing to choose but "Off".
    setActiveSetlistRange(*manager, 0);
    EXPECT_FLOAT_EQ(manager->ParseString(109, "5"), 0.0f);

    setParameterRange(*manager, 17, 10, 4000);
    EXPECT_FLOAT_EQ(manager->ParseString(17, "5"), 10.0f);
    EXPECT_FLOAT_EQ(manager->ParseString(17, "4001"), 4000.0f);
}

TEST(PedalParameterSet, CurrentPresetHoldsAPlainNumber) {
    auto manager = build();
    manager->SetValue(7, 100.0f);
    EXPECT_FLOAT_EQ(manager->GetValue(7), 100.0f);
    manager->SetValue(5, 1.0f);
    EXPECT_EQ(manager->GetIntValue(5), 1);
}
