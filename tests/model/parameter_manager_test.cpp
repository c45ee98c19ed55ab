#include <gtest/gtest.h>

#include <vector>

#include "../support/trace_capture.h"
#include "model/parameter_kinds.h"
#include "model/parameter_manager.h"

namespace {

struct RecordingListener : ParameterListener {
    void ParameterChanged(int32_t index) override { changed.push_back(index); }
    std::vector<int32_t> changed;
};

} // namespace

TEST(ParameterManager, RegistrationConflictsKeepTheFirstParameter) {
    TraceCapture trace;
    PARAMETER_MANAGER manager(173);
    auto* first = new PARAMETER_GENERIC_INT32s(20, &manager, 1.0f);
    std::unique_ptr<PARAMETER> second(new PARAMETER_GENERIC_INT32s(20, &manager, 2.0f));
    EXPECT_TRUE(trace.contains("\n************ 20 ALREADY REGISTERED *********"));
    EXPECT_EQ(manager.Find(20), first);
    EXPECT_FLOAT_EQ(manager.GetValue(20), 1.0f);

    // Destroying the loser must not take the winner's slot with it.
    second.reset();
    EXPECT_TRUE(trace.contains("\n************ 20 NOT REGISTERED *********"));
    EXPECT_EQ(manager.Find(20), first);
}

TEST(ParameterManager, IndexesOutsideTheTableAreTracedAndIgnored) {
    TraceCapture trace;
    PARAMETER_MANAGER manager(173);
    std::unique_ptr<PARAMETER> outside(new PARAMETER_GENERIC_INT32s(194, &manager));
    std::unique_ptr<PARAMETER> negative(new PARAMETER_GENERIC_INT32s(-1, &manager));
    std::unique_ptr<PARAMETER> orphan(new PARAMETER_GENERIC_INT32s(3, nullptr));
    EXPECT_TRUE(trace.contains("trying to REGISTER beyond MaxParameters --- 194"));
    EXPECT_TRUE(trace.contains("trying to REGISTER beyond MaxParameters --- -1"));
    EXPECT_TRUE(trace.contains("\n>>>> 3 - NULL PARAMETER MANAGER"));
    for (int32_t i = 0; i < manager.Size(); ++i)
        EXPECT_EQ(manager.Find(i), nullptr);

    outside.reset();
    EXPECT_TRUE(trace.contains("trying to UNREGISTER beyond MaxParameters --- 194"));
}

TEST(ParameterManager, EmptySlotsAnswerNeutralValues) {
    TraceCapture trace;
    PARAMETER_MANAGER manager(173);
    EXPECT_FLOAT_EQ(manager.GetValue(500), 0.0f);
    EXPECT_TRUE(trace.contains("invalid param GetValue 500\n"));
    EXPECT_FLOAT_EQ(manager.GetMax(10), 1.0f);
    EXPECT_TRUE(trace.contains("invalid param GetMax 10\n"));
    EXPECT_FLOAT_EQ(manager.GetMin(10), 0.0f);
    EXPECT_EQ(manager.GetIntValue(-4), 0);
    EXPECT_TRUE(trace.contains("invalid param GetIntValue -4\n"));
    EXPECT_FALSE(manager.IsIntParam(10));
    EXPECT_EQ(manager.GetName(10), nullptr);
    EXPECT_EQ(manager.GetLabel(10), nullptr);
    EXPECT_FALSE(manager.IsAutomatable(10));
    EXPECT_EQ(manager.GetValueAsByte(10, 100), 0);
    EXPECT_EQ(manager.GetIntMax(10), 0);

    char text[kParameterTextSize] = "stale";
    manager.Format(11, text, 0, 16);
    EXPECT_STREQ(text, "");
    EXPECT_TRUE(trace.contains("invalid ::Format 11\n"));
    EXPECT_FLOAT_EQ(manager.ParseString(12, "5"), 0.0f);
    EXPECT_TRUE(trace.contains("invalid ::Format 12\n"));

    manager.SetValue(10, 1.0f); // no crash, nothing to set
    manager.SetData(10, nullptr);
    manager.SetRaw(999, 3);
}

TEST(ParameterManager, OperationsReachTheParameter) {
    PARAMETER_MANAGER manager(8);
    RecordingListener listener;
    manager.SetListener(&listener);
    auto* level = new PARAMETER_GENERIC_BYTEu(2, &manager, 0.0f, 0, 100, 0, 100);
    manager.SetValueRatio(2, 1, 4);
    EXPECT_EQ(manager.GetIntValue(2), 25);
    manager.SetValueRatio(2, 1, 0); // no ratio: unchanged
    EXPECT_EQ(manager.GetIntValue(2), 25);
    EXPECT_EQ(manager.GetValueAsByte(2, 2), 0); // 0.25 × 2 = 0.5 rounds toward zero
    EXPECT_EQ(manager.GetValueAsByte(2, 10), 2);
    manager.SetRaw(2, 40);
    EXPECT_EQ(manager.GetRaw(2), 40);
    EXPECT_EQ(manager.GetIntAttr(2), 1);

    level->NotifyChanged();
    EXPECT_EQ(listener.changed, std::vector<int32_t>{2});

    manager.ClearAll();
    EXPECT_EQ(manager.Find(2), nullptr);
    delete level; // no longer owned; unregistering an empty slot is only traced
}

TEST(ParameterManager, FormatPassesTheSmallerOfRangeAndLimit) {
    struct LimitProbe : PARAMETER {
        using PARAMETER::PARAMETER;
        void Format(char* out, int a, int limit) override {
            seenA = a;
            seenLimit = limit;
            out[0] = '\0';
        }
        int seenA = -1;
        int seenLimit = -1;
    };
    PARAMETER_MANAGER manager(4);
    auto* probe = new LimitProbe(1, &manager, 0.0f, 10, 300, 1, 0);
    char text[kParameterTextSize];
    manager.Format(1, text, 7, 100);
    EXPECT_EQ(probe->seenA, 7);
    EXPECT_EQ(probe->seenLimit, 34); // 290 taken as a byte
    manager.Format(1, text, 7, 20);
    EXPECT_EQ(probe->seenLimit, 20);
}

TEST(ParameterManager, CheckAllRegisteredCountsEmptySlots) {
    TraceCapture trace;
    PARAMETER_MANAGER manager(3);
    new PARAMETER_GENERIC_INT32s(1, &manager);
    manager.CheckAllRegistered();
    EXPECT_TRUE(trace.contains("\nPARAM 0 UNREGISTERED"));
    EXPECT_FALSE(trace.contains("\nPARAM 1 UNREGISTERED"));
    EXPECT_TRUE(trace.contains("**** 2 of 3 PARAMS UNREGISTERED **** "));
}

class Snapshot : public ::testing::Test {
protected:
    Snapshot() {
        new PARAMETER_GENERIC_BYTEu(0, &manager, 0.5f, 0, 200);
        new PARAMETER_SWITCH(2, &manager, 1.0f, 0, 1);
        new PARAMETER_GENERIC_BYTEu(172, &manager, 0.25f, 0, 200);
    }
    PARAMETER_MANAGER manager{173};
};

TEST_F(Snapshot, WritesVersionAndBigEndianWords) {
    int32_t size = 0;
    const uint8_t* bytes = manager.GetStateInfoBuffer(&size);
    ASSERT_EQ(size, 347);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 0x7F); // 0.5 × 65535 = 32767 (truncated)
    EXPECT_EQ(bytes[2], 0xFF);
    EXPECT_EQ(bytes[3], 0); // empty slot 1
    EXPECT_EQ(bytes[4], 0);
    EXPECT_EQ(bytes[5], 0xFF);
    EXPECT_EQ(bytes[6], 0xFF);
    EXPECT_EQ(bytes[345], 0x3F); // 0.25 × 65535 = 16383
    EXPECT_EQ(bytes[346], 0xFF);

    // The buffer is kept and reused.
    EXPECT_EQ(manager.GetStateInfoBuffer(&size), bytes);
    EXPECT_EQ(manager.GetStateInfoBuffer(nullptr), nullptr);
}

TEST_F(Snapshot, RestoresRegisteredSlotsAndRejectsBadBuffers) {
    TraceCapture trace;
    int32_t size = 0;
    std::vector<uint8_t> state(manager.GetStateInfoBuffer(&size), manager.GetStateInfoBuffer(&size) + size);
    manager.SetValue(0, 0.0f);
    manager.SetValue(172, 1.0f);

    EXPECT_FALSE(manager.SetStateInfoBuffer(nullptr, size));
    EXPECT_TRUE(trace.contains("bad call to SetStateInfoBuffer"));
    EXPECT_FALSE(manager.SetStateInfoBuffer(state.data(), 346));
    EXPECT_TRUE(trace.contains("wrong state size buffer\n"));
    state[0] = 2;
    EXPECT_FALSE(manager.SetStateInfoBuffer(state.data(), size));
    EXPECT_TRUE(trace.contains("wrong state version\n"));
    EXPECT_FLOAT_EQ(manager.GetValue(172), 1.0f); // nothing restored by a rejected buffer

    state[0] = 0;
    state[3] = 0x12; // an empty slot's word is skipped
    ASSERT_TRUE(manager.SetStateInfoBuffer(state.data(), size));
    EXPECT_NEAR(manager.GetValue(0), 0.5f, 1e-4);
    EXPECT_NEAR(manager.GetValue(172), 0.25f, 1e-4);
    EXPECT_EQ(manager.Find(1), nullptr);
}
