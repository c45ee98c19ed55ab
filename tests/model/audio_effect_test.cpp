#include <gtest/gtest.h>

#include "model/audio_effect.h"

namespace {

struct CountingEditor : AEffEditor {
    explicit CountingEditor(AudioEffect* effect, int* destroyed) : AEffEditor(effect), destroyed(destroyed) {}
    ~CountingEditor() override { ++*destroyed; }
    int* destroyed;
};

intptr_t recordingHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == 6 ? 1 : 0;
}

struct MidiEffect : AudioEffectX {
    MidiEffect() : AudioEffectX(recordingHost, 0, 0) {}
    int32_t canDo(const char*) override { return 1; }
};

} // namespace

TEST(AudioEffect, ThePlugInRecordDescribesTheEffect) {
    int destroyed = 0;
    {
        CAudioEffect effect(
            [&](CAudioEffect& owner) { return std::make_unique<CountingEditor>(&owner, &destroyed); });
        AEffect* record = effect.getAeffect();
        EXPECT_EQ(record->magic, 0x56737450);
        EXPECT_EQ(record->uniqueID, 0x4E6F4566);
        EXPECT_EQ(record->numPrograms, 0);
        EXPECT_EQ(record->numParams, 0);
        EXPECT_EQ(record->numInputs, 1);
        EXPECT_EQ(record->numOutputs, 2);
        EXPECT_EQ(record->flags, 0x11);
        EXPECT_EQ(record->version, 1);
        EXPECT_FLOAT_EQ(record->ioRatio, 1.0f);
        EXPECT_EQ(record->object, &effect);
        EXPECT_FLOAT_EQ(effect.sampleRate, 44100.0f);
        EXPECT_EQ(effect.blockSize, 1024);
        ASSERT_NE(effect.getEditor(), nullptr);
        EXPECT_EQ(effect.getEditor()->effect, &effect);

        // The entries forward to the effect, which answers neutrally.
        EXPECT_EQ(record->dispatcher(record, 1, 0, 0, nullptr, 0.0f), 0);
        EXPECT_FLOAT_EQ(record->getParameter(record, 3), 0.0f);
        record->setParameter(record, 3, 1.0f);
        EXPECT_EQ(effect.callHost(6), 0); // no host
        effect.resume();
        EXPECT_FALSE(effect.wantsMidi());
    }
    EXPECT_EQ(destroyed, 1);
}

TEST(AudioEffect, WithoutAnEditorTheFlagStaysClear) {
    CAudioEffect effect(nullptr);
    EXPECT_EQ(effect.getEditor(), nullptr);
    EXPECT_EQ(effect.getAeffect()->flags, 0x10);
}

TEST(AudioEffect, ResumeAsksForMidiWhenTheEffectTakesIt) {
    MidiEffect effect;
    effect.resume();
    EXPECT_TRUE(effect.wantsMidi());
    EXPECT_EQ(effect.callHost(6), 1);
}
