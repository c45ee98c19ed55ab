#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "resources/resource_ids.h"
#include "resources/resources.h"
#include "toolkit/controls/bargraph.h"
#include "toolkit/controls/halvorn_filter_freq_meter.h"
#include "toolkit/controls/halvorn_threshold_meter.h"
#include "toolkit/controls/led_array.h"
#include "toolkit/controls/meter_drawing.h"
#include "toolkit/controls/meter_with_clip.h"
#include "toolkit/controls/reverse_meter.h"
#include "toolkit/controls/three_led_meter.h"
#include "toolkit/draw_context.h"

namespace {

bool send(CControl& c, uint16_t code, int32_t x, int32_t y, int32_t first = 0) {
    CCMouseMsg msg = mouseAt(code, x, y);
    msg.first = first;
    return c.onMouse(msg);
}

// Meters drawn with the program's images, so the cut can be seen in pixels.
class Meters : public ::testing::Test {
protected:
    void SetUp() override { setProgramResources(&tovanProgramResources()); }
    void TearDown() override { setProgramResources(nullptr); }

    // Rows (or columns) of the foreground that show in a rendering: any pixel
    // whose red is above that of the dark scale counts as lit.
    static std::vector<bool> litAlong(CControl& meter, bool vertical) {
        const CCRect b = meter.getBounds();
        auto ctx = CCDrawContext::createOffscreen(b.right, b.bottom);
        meter.draw(*ctx);
        std::vector<bool> lit;
        const int32_t length = vertical ? b.height() : b.width();
        for (int32_t i = 0; i < length; ++i) {
            bool any = false;
            for (int32_t across = 0; across < (vertical ? b.width() : b.height()); ++across) {
                const CCPixel p = vertical ? ctx->surface().pixelAt(b.left + across, b.top + i)
                                           : ctx->surface().pixelAt(b.left + i, b.top + across);
                any = any || p.red > 200;
            }
            lit.push_back(any);
        }
        return lit;
    }
    static int32_t firstLit(const std::vector<bool>& v) {
        for (size_t i = 0; i < v.size(); ++i)
            if (v[i]) return int32_t(i);
        return -1;
    }
    static int32_t lastLit(const std::vector<bool>& v) {
        for (size_t i = v.size(); i-- > 0;)
            if (v[i]) return int32_t(i);
        return -1;
    }

    ToolkitSessionGuard session;
};

TEST_F(Meters, ForegroundIsCutToTheLevelsShareFromTheBottomOrTheLeft) {
    CCMeter tall(12, 0, 0, 12, 80, resid::kMeterTrack, resid::kMeterFill);
    EXPECT_EQ(tall.filledLength(), 0);
    EXPECT_EQ(lastLit(litAlong(tall, true)), -1) << "nothing lit at the minimum";
    tall.setValue(50, Notify::no, Redraw::no, SelfOnly::yes);
    EXPECT_EQ(tall.filledLength(), 40);
    std::vector<bool> rows = litAlong(tall, true);
    EXPECT_GE(firstLit(rows), 40);
    EXPECT_GT(lastLit(rows), 70) << "rising from the bottom";

    CCMeter wide(18, 0, 0, 100, 10, resid::kHMeterTrack, resid::kHMeterFill);
    wide.setValue(25, Notify::no, Redraw::no, SelfOnly::yes);
    std::vector<bool> columns = litAlong(wide, false);
    EXPECT_LT(firstLit(columns), 5);
    EXPECT_LE(lastLit(columns), 25);
}

TEST_F(Meters, ReverseMeterFillsFromTheOtherEnd) {
    CCReverseMeter tall(13, 0, 0, 12, 80, resid::kMeterTrack, resid::kReverseMeterFill);
    tall.setValue(50, Notify::no, Redraw::no, SelfOnly::yes);
    std::vector<bool> rows = litAlong(tall, true);
    EXPECT_LT(firstLit(rows), 5) << "hanging from the top";
    EXPECT_LE(lastLit(rows), 40);

    CCReverseMeter wide(19, 0, 0, 100, 10, resid::kHMeterTrack, resid::kHReverseMeterFill);
    wide.setValue(25, Notify::no, Redraw::no, SelfOnly::yes);
    std::vector<bool> columns = litAlong(wide, false);
    EXPECT_GE(firstLit(columns), 75);
    EXPECT_GT(lastLit(columns), 94);
}

TEST(MeterLevels, PositiveNormalisedValueOrElseTheSecondParameter) {
    Recorder rec;
    CCMeter meter(12, 0, 0, 12, 80, 0, 0, 0, 200, &rec);
    CCMsg normalised(kMsgSetValue, 12, 7, 0.25f);
    EXPECT_TRUE(meter.onMessage(normalised));
    EXPECT_EQ(meter.getValue(), 50);
    CCMsg raw(kMsgSetValue, 12, 120, 0.0f);
    meter.onMessage(raw);
    EXPECT_EQ(meter.getValue(), 120);
    CCMsg negative(kMsgSetValue, 12, 30, -0.5f);
    meter.onMessage(negative);
    EXPECT_EQ(meter.getValue(), 30);
    EXPECT_TRUE(rec.values().empty()) << "levels from outside are not echoed";
    EXPECT_EQ(meterFill(150, 0, 200, 80), 60);
    EXPECT_EQ(meterFill(500, 0, 200, 80), 80);
}

TEST_F(Meters, ClipLampHoldsAfterAPeakUntilPressed) {
    CCMeterWithClip meter(14, 0, 0, 12, 92, resid::kMeterTrack, resid::kMeterFill, resid::kClipLamp);
    EXPECT_EQ(meter.lampRect(), (CCRect{1, 0, 11, 10}));
    EXPECT_EQ(meter.meterRect(), (CCRect{0, 12, 12, 92}));
    CCMsg loud(kMsgSetValue, 14, 100, 0.0f);
    meter.onMessage(loud);
    EXPECT_TRUE(meter.isClipped());
    CCMsg quiet(kMsgSetValue, 14, 20, 0.0f);
    meter.onMessage(quiet);
    EXPECT_TRUE(meter.isClipped()) << "a short peak stays shown";
    auto ctx = CCDrawContext::createOffscreen(12, 92);
    meter.draw(*ctx);
    EXPECT_GT(ctx->surface().pixelAt(6, 5).red, 220);
    EXPECT_TRUE(send(meter, kMsgLeftDown, 6, 50));
    EXPECT_FALSE(meter.isClipped());
    meter.setClipLevel(90);
    meter.setValue(95, Notify::no, Redraw::no, SelfOnly::yes);
    EXPECT_TRUE(meter.isClipped());
}

TEST(MeterLevels, ThreeLampsBargraphAndLedRowCountWhatTheLevelReaches) {
    CC3LEDMeter leds(15, 0, 0, 12, 36, 0);
    const std::pair<int32_t, int32_t> lamps[] = {{0, 0},  {1, 1},  {49, 1}, {50, 2},
                                                 {89, 2}, {90, 3}, {100, 3}};
    for (const auto& [level, lit] : lamps)
        EXPECT_EQ(leds.litFor(level), lit) << level;

    CCLedArray row(17, 0, 0, 60, 10, 0, 5, 12);
    EXPECT_EQ(row.litFor(19), 0);
    EXPECT_EQ(row.litFor(20), 1);
    EXPECT_EQ(row.litFor(100), 5);
}

TEST_F(Meters, BargraphFramesRunFromEmptyToFull) {
    CCBargraph bar(16, 0, 0, 64, 8, resid::kBargraphStrip, 11);
    EXPECT_EQ(bar.frameFor(0), 0);
    EXPECT_EQ(bar.frameFor(9), 0);
    EXPECT_EQ(bar.frameFor(55), 5);
    EXPECT_EQ(bar.frameFor(100), 10);
    EXPECT_EQ(bar.frameFor(150), 10);
    // Frame 7 lights seven of ten segments.
    bar.setValue(70, Notify::no, Redraw::no, SelfOnly::yes);
    auto ctx = CCDrawContext::createOffscreen(64, 8);
    bar.draw(*ctx);
    EXPECT_GT(ctx->surface().pixelAt(40, 4).red, 200);
    EXPECT_LT(ctx->surface().pixelAt(50, 4).red, 120);
}

TEST(MarkMeters, ThresholdMeterShowsItsReadingAndTheMarkFollowsThePointer) {
    Recorder rec;
    // The scale runs over columns 2..119 of a 122-pixel meter.
    CHalvornThresholdCMeter meter(20, 0, 0, 122, 16, 0, 0, 117, 50, &rec);
    CCMsg reading(kMsgMeterReading, 20, 80);
    EXPECT_TRUE(meter.onMessage(reading));
    EXPECT_EQ(meter.getLevel(), 80);
    EXPECT_EQ(meter.getValue(), 50) << "a reading never moves the threshold";
    CCMsg other(kMsgMeterReading, 21, 10);
    EXPECT_FALSE(meter.onMessage(other));
    EXPECT_TRUE(rec.values().empty());

    EXPECT_EQ(meter.columnFor(0), 2);
    EXPECT_EQ(meter.columnFor(117), 119);
    ASSERT_TRUE(send(meter, kMsgLeftDown, 32, 8));
    EXPECT_EQ(meter.getValue(), 30);
    send(meter, kMsgMouseMove, 500, 40);
    EXPECT_EQ(meter.getValue(), 117);
    send(meter, kMsgLeftUp, 500, 40);
    send(meter, kMsgWheel, 60, 8, -120);
    EXPECT_EQ(meter.getValue(), 116);
    EXPECT_EQ(rec.values(), (std::vector<int32_t>{30, 117, 116}));
    EXPECT_EQ(meter.cursorAt(0, 0), kCursorWestEast);

    // Above the threshold the bar is bright, below it dim.
    meter.setValue(40, Notify::no, Redraw::no, SelfOnly::yes);
    auto ctx = CCDrawContext::createOffscreen(122, 16);
    meter.draw(*ctx);
    EXPECT_LT(ctx->surface().pixelAt(20, 8).red, 200);
    EXPECT_GT(ctx->surface().pixelAt(70, 8).red, 240);
    EXPECT_LT(ctx->surface().pixelAt(100, 8).red, 60) << "nothing past the level";
}

TEST(MarkMeters, FrequencyMeterUsesALogScale) {
    Recorder rec;
    // 100 Hz to 10 kHz over columns 2..102: one decade every 50 pixels.
    CHalvornFilterFreqMeter meter(21, 0, 0, 105, 20, 0, 100, 10000, 1000, &rec);
    EXPECT_EQ(meter.columnFor(100), 2);
    EXPECT_EQ(meter.columnFor(1000), 52);
    EXPECT_EQ(meter.columnFor(10000), 102);
    EXPECT_EQ(meter.valueAtColumn(27), 316);
    ASSERT_TRUE(send(meter, kMsgLeftDown, 77, 10));
    EXPECT_EQ(meter.getValue(), 3162);
    send(meter, kMsgLeftUp, 77, 10);
    send(meter, kMsgWheel, 50, 10, 120);
    EXPECT_EQ(meter.getValue(), 3350) << "a semitone up";
    CCMsg live(kMsgMeterReading, 21, 2000);
    meter.onMessage(live);
    EXPECT_EQ(meter.getLiveFrequency(), 2000);
    EXPECT_EQ(rec.values(), (std::vector<int32_t>{3162, 3350}));
}

} // namespace
