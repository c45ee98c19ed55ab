#include <gtest/gtest.h>

#include <cstring>

#include "model/parameter_kinds.h"
#include "model/parameter_manager.h"
#include "model/parameter_rounding.h"

TEST(Rounding, ExactHalvesGoTowardZeroForBothSigns) {
    EXPECT_EQ(roundHalfTowardZero(0.5, 1), 0);
    EXPECT_EQ(roundHalfTowardZero(-0.5, 1), 0);
    EXPECT_EQ(roundHalfTowardZero(2.5, 1), 2);
    EXPECT_EQ(roundHalfTowardZero(-2.5, 1), -2);
    EXPECT_EQ(roundHalfTowardZero(0.50001, 1), 1);
    EXPECT_EQ(roundHalfTowardZero(-0.50001, 1), -1);
    EXPECT_EQ(roundHalfTowardZero(0.25, 10), 2);
    EXPECT_EQ(roundHalfTowardZero(0.26, 10), 3);
}

TEST(Rounding, TruncatesToTheTargetWidthAndSurvivesNonsense) {
    EXPECT_EQ(roundToByte(1.0, 300), 300 & 0xFF);
    EXPECT_EQ(roundToWord(-1.0, 1), 0xFFFF);
    EXPECT_EQ(roundHalfTowardZero(std::numeric_limits<double>::infinity(), 1), 0);
    EXPECT_EQ(truncateToInt32(1e12), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(truncateToInt32(-1e12), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(truncateToInt32(-3.9), -3);
}

class ParameterKinds : public ::testing::Test {
protected:
    PARAMETER_MANAGER manager{16};
};

TEST_F(ParameterKinds, ByteConvertsThroughItsScale) {
    auto* preset = new PARAMETER_GENERIC_BYTEu(1, &manager, 0.0f, 0, 200, 0, 199);
    preset->SetValue(0.5f);
    EXPECT_EQ(preset->GetIntValue(), 100);
    preset->SetValue(0.0025f);
    EXPECT_EQ(preset->GetIntValue(), 0);
    auto* halves = new PARAMETER_GENERIC_BYTEu(2, &manager, 0.0f, 0, 2);
    halves->SetValue(0.75f); // exactly 1.5 steps
    EXPECT_EQ(halves->GetIntValue(), 1);
    halves->SetValue(1.25f); // exactly 2.5 steps
    EXPECT_EQ(halves->GetIntValue(), 2);

    preset->SetRaw(0x182); // only the low byte counts
    EXPECT_EQ(preset->raw, 0x82);
    EXPECT_EQ(preset->GetIntValue(), 130);
    EXPECT_FLOAT_EQ(preset->GetValue(), 130.0f / 200.0f);

    char text[kParameterTextSize];
    preset->Format(text, 0, 0);
    EXPECT_STREQ(text, "130");
    EXPECT_FLOAT_EQ(preset->ParseString("42"), 42.0f / 200.0f);
    EXPECT_FLOAT_EQ(preset->ParseString("500"), 199.0f / 200.0f);
    EXPECT_FLOAT_EQ(preset->ParseString("-3"), 0.0f);
    EXPECT_FLOAT_EQ(preset->ParseString("abc"), 0.0f);
}

TEST_F(ParameterKinds, SwitchReadsAndWritesItsBitField) {
    auto* lamp = new PARAMETER_SWITCH(8, &manager, 0.0f, 0, 3);
    lamp->mask = 0x30;
    lamp->shift = 4;
    lamp->SetRaw(0xE5); // bits 4-5 hold 2
    EXPECT_FLOAT_EQ(lamp->GetValue(), 2.0f / 3.0f);
    EXPECT_EQ(lamp->raw, 0x20); // SetValue recomputes the raw byte from the value

    lamp->SetValue(1.0f);
    EXPECT_EQ(lamp->raw, 0x30);
    lamp->intMax = 0; // no range yet: nothing to normalise against
    lamp->SetRaw(0x30);
    EXPECT_FLOAT_EQ(lamp->GetValue(), 0.0f);
}

TEST_F(ParameterKinds, IntegerTruncatesAndTakesUnsignedWords) {
    auto* level = new PARAMETER_GENERIC_INT32s(3, &manager);
    level->SetValue(-3.7f);
    EXPECT_EQ(level->GetIntValue(), -3);
    level->SetValue(235.99f);
    EXPECT_EQ(level->GetIntValue(), 235);
    level->SetFromWord(-1);
    EXPECT_EQ(level->GetIntValue(), 65535);
    EXPECT_FLOAT_EQ(level->GetValue(), 65535.0f);
    level->SetValue(3e10f);
    EXPECT_EQ(level->GetIntValue(), std::numeric_limits<int32_t>::max());
}

TEST_F(ParameterKinds, IntegerFormatsAndParsesWithAndWithoutDisplayFormat) {
    auto* plain = new PARAMETER_GENERIC_INT32s(4, &manager);
    auto* tenths = new PARAMETER_GENERIC_INT32s(5, &manager);
    tenths->SetDisplayFormat(0.1f, "%.1f");
    char text[kParameterTextSize];

    // Before the pedal reports a range everything parses to zero.
    EXPECT_FLOAT_EQ(plain->ParseString("57"), 0.0f);
    EXPECT_FLOAT_EQ(tenths->ParseString("23.5"), 0.0f);

    plain->intMin = tenths->intMin = 0;
    plain->intMax = tenths->intMax = 400;
    plain->SetValue(235.0f);
    plain->Format(text, 0, 0);
    EXPECT_STREQ(text, "235");
    tenths->SetValue(235.0f);
    tenths->Format(text, 0, 0);
    EXPECT_STREQ(text, "23.5");

    EXPECT_FLOAT_EQ(tenths->ParseString("23.5"), 235.0f);
    EXPECT_FLOAT_EQ(tenths->ParseString("999"), 400.0f);
    EXPECT_FLOAT_EQ(tenths->ParseString(" +1.5 Hz"), 15.0f);
    EXPECT_FLOAT_EQ(tenths->ParseString("-2"), 0.0f);
    EXPECT_FLOAT_EQ(tenths->ParseString("nan"), 0.0f);
    EXPECT_FLOAT_EQ(plain->ParseString("23.9"), 23.0f);
    EXPECT_FLOAT_EQ(plain->ParseString("4000"), 400.0f);
    EXPECT_FLOAT_EQ(plain->ParseString("99999999999999999999"), 400.0f);
}

TEST_F(ParameterKinds, EveryTenthsValueSurvivesFormatThenParse) {
    auto* tenths = new PARAMETER_GENERIC_INT32s(6, &manager);
    tenths->SetDisplayFormat(0.1f, "%.1f");
    tenths->intMin = -1000;
    tenths->intMax = 9999;
    char text[kParameterTextSize];
    for (int v = -1000; v <= 9999; ++v) {
        tenths->SetValue(static_cast<float>(v));
        tenths->Format(text, 0, 0);
        tenths->SetValue(tenths->ParseString(text));
        ASSERT_EQ(tenths->GetIntValue(), v) << "text " << text;
    }
}

TEST_F(ParameterKinds, FixedStringKeepsSixteenBytesWithoutTerminator) {
    auto* name = new PARAMETER_FIXEDSTRING(7, &manager);
    EXPECT_EQ(name->typeCode, 3);
    const uint8_t full[] = "ABCDEFGHIJKLMNOPQRST";
    name->SetData(full);
    char text[17];
    std::memset(text, 'x', sizeof text);
    name->Format(text, 0, 0);
    EXPECT_STREQ(text, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(std::memcmp(name->GetLabel(), "ABCDEFGHIJKLMNOP", 16), 0);

    // A short text must not read past its end; the rest of the field is cleared.
    EXPECT_FLOAT_EQ(name->ParseString("Tovan"), 0.0f);
    const uint8_t expected[16] = {'T', 'o', 'v', 'a', 'n'};
    EXPECT_EQ(std::memcmp(name->data(), expected, 16), 0);
}

TEST(Parameter, ConstructorsSetTheirDefaults) {
    PARAMETER_MANAGER manager(4);
    auto* fromFloat = new PARAMETER_GENERIC_INT32s(0, &manager, 12.0f);
    auto* fromInt = new PARAMETER(1, &manager, int32_t{7}, 1, 9, 1, 0);
    EXPECT_FALSE(fromFloat->isInt);
    EXPECT_FLOAT_EQ(fromFloat->GetDefault(), 12.0f);
    EXPECT_FLOAT_EQ(fromFloat->GetValue(), 12.0f);
    EXPECT_TRUE(fromInt->isInt);
    EXPECT_EQ(fromInt->GetIntValue(), 7);
    for (PARAMETER* p : {static_cast<PARAMETER*>(fromFloat), fromInt}) {
        EXPECT_EQ(p->scale, 128);
        EXPECT_EQ(p->mask, 255);
        EXPECT_EQ(p->reserved1, 255);
        EXPECT_EQ(p->shift, 0);
        EXPECT_TRUE(p->automatable);
        EXPECT_STREQ(p->GetName(), "");
        EXPECT_FLOAT_EQ(p->maxValue, 1.0f);
    }
    char text[kParameterTextSize] = "junk";
    fromInt->Format(text, 0, 0);
    EXPECT_STREQ(text, "");
    EXPECT_FLOAT_EQ(fromInt->ParseString("5"), 0.0f);
}
