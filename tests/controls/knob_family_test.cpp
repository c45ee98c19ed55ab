#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "platform/headless/headless_window.h"
#include "resources/resource_ids.h"
#include "resources/resources.h"
#include "toolkit/controls/fine_pot_control.h"
#include "toolkit/controls/mod_wheel.h"
#include "toolkit/controls/rotary_encoder.h"
#include "toolkit/controls/spinner.h"
#include "toolkit/cursor.h"

#include <cmath>
#include <numbers>

namespace {

bool send(CControl& c, uint16_t code, int32_t x, int32_t y, bool shift = false, int32_t first = 0) {
    CCMouseMsg msg = mouseAt(code, x, y);
    msg.shiftDown = shift;
    msg.first = first;
    return c.onMouse(msg);
}

// The knobs sit at (100, 100)-(132, 134), centre (116, 117); a point on a circle
// round it at turn fraction w (0 bottom, 0.25 left, 0.5 top, 0.75 right).
CCPoint atTurn(double w) {
    const double angle = (w - 0.25) * 2 * std::numbers::pi;
    return {116 - int32_t(std::lround(40 * std::cos(angle))),
            117 - int32_t(std::lround(40 * std::sin(angle)))};
}

class KnobFamily : public ::testing::Test {
protected:
    void SetUp() override {
        previousMode = potDragMode();
        setProgramResources(&tovanProgramResources());
    }
    void TearDown() override {
        setPotDragMode(previousMode);
        setProgramResources(nullptr);
    }
    ToolkitSessionGuard session;
    Recorder rec;
    int32_t previousMode = 2;
};

TEST_F(KnobFamily, FinePotStepsTenPerTenPixelsOrOneWithShift) {
    setPotDragMode(kPotDragLinear);
    CCFinePotControl pot(9, 100, 100, 132, 134, 0, 1000, resid::kKnobStrip, 500, &rec);
    ASSERT_TRUE(send(pot, kMsgLeftDown, 110, 110));
    send(pot, kMsgMouseMove, 110, 101); // 9 up: less than ten pixels
    EXPECT_EQ(pot.getValue(), 500);
    send(pot, kMsgMouseMove, 110, 100); // 10 up
    EXPECT_EQ(pot.getValue(), 510);
    send(pot, kMsgMouseMove, 110, 75, true); // 35 up with shift: 3
    EXPECT_EQ(pot.getValue(), 513);
    send(pot, kMsgMouseMove, 135, 112); // sideways wins: 25 right
    EXPECT_EQ(pot.getValue(), 533);
    send(pot, kMsgLeftUp, 135, 112);
    EXPECT_EQ(rec.values(), (std::vector<int32_t>{510, 513, 533}));

    // The horizontal mode follows the same rule.
    setPotDragMode(kPotDragHorizontal);
    send(pot, kMsgLeftDown, 110, 110);
    send(pot, kMsgMouseMove, 90, 110, true);
    EXPECT_EQ(pot.getValue(), 531);
    send(pot, kMsgLeftUp, 90, 110);

    // The wheel: ten, or one with shift; away from the player raises.
    send(pot, kMsgWheel, 110, 110, false, 120);
    EXPECT_EQ(pot.getValue(), 541);
    send(pot, kMsgWheel, 110, 110, true, -120);
    EXPECT_EQ(pot.getValue(), 540);
    send(pot, kMsgWheel, 110, 110, false, 0);
    EXPECT_EQ(pot.getValue(), 530);
}

TEST_F(KnobFamily, FinePotPutsTheCursorBackAfterEachStep) {
    setPotDragMode(kPotDragLinear);
    HeadlessWindow window(640, 480, {1000, 500});
    CCPageManager manager(CCRect{0, 0, 640, 480}, nullptr, false);
    manager.attachWindow(&window, nullptr, nullptr);
    auto* pot = manager.addChild(
        std::make_unique<CCFinePotControl>(9, 100, 100, 132, 134, 0, 1000, resid::kKnobStrip, 500));
    CCMouseMsg press(kMsgLeftDown, 110, 110);
    press.screenX = 1110;
    press.screenY = 610;
    manager.dispatch(press);
    CCMouseMsg small(kMsgMouseMove, 110, 105);
    small.screenX = 1110;
    small.screenY = 605;
    manager.dispatch(small);
    EXPECT_EQ(window.cursorScreenPosition(), (CCPoint{0, 0})) << "short travel adds up where it is";
    CCMouseMsg step(kMsgMouseMove, 110, 90);
    step.screenX = 1110;
    step.screenY = 590;
    manager.dispatch(step);
    EXPECT_EQ(pot->getValue(), 520);
    EXPECT_EQ(window.cursorScreenPosition(), (CCPoint{1110, 610}));
}

TEST_F(KnobFamily, FinePotFollowsTheCircleInCircularMode) {
    setPotDragMode(kPotDragCircular);
    CCFinePotControl pot(9, 100, 100, 132, 134, 0, 1000, resid::kKnobStrip, 500);
    send(pot, kMsgLeftDown, 116, 102);
    const CCPoint right = atTurn(0.75);
    send(pot, kMsgMouseMove, right.x, right.y);
    EXPECT_NEAR(pot.getValue(), 813, 2); // (0.75 - 0.1) * 1.25 of the range
}

TEST_F(KnobFamily, EncoderCountsCompassDegreesAndWraps) {
    CCRotaryEncoder enc(40, 100, 100, 132, 134, resid::kEncoderStrip, 0, &rec);
    EXPECT_TRUE(enc.getWrap());
    // With the default offset of 180: top 0, right 90, bottom 180, left 270.
    auto degreesAt = [](CCRotaryEncoder& e, CCPoint p) {
        return e.fromNormalised(e.positionToValue(p.x, p.y));
    };
    const std::pair<CCPoint, int32_t> points[] = {{{116, 50}, 0},   {{180, 117}, 90}, {{116, 180}, 180},
                                                  {{50, 117}, 270}, {{51, 116}, 271}, {{180, 53}, 45}};
    for (const auto& [p, degrees] : points)
        EXPECT_EQ(degreesAt(enc, p), degrees) << p.x << "," << p.y;
    // Another offset moves the zero: 0 at the bottom.
    CCRotaryEncoder fromBottom(40, 100, 100, 132, 134, resid::kEncoderStrip, 0, nullptr, 0);
    EXPECT_EQ(degreesAt(fromBottom, {116, 180}), 0) << "a full turn is 0 again";
    EXPECT_EQ(degreesAt(fromBottom, {50, 117}), 90);

    // The wheel runs round past either end.
    enc.setValue(359, Notify::no, Redraw::no, SelfOnly::yes);
    send(enc, kMsgWheel, 110, 110, false, 120);
    EXPECT_EQ(enc.getValue(), 0);
    send(enc, kMsgWheel, 110, 110, false, -120);
    EXPECT_EQ(enc.getValue(), 359);
}

TEST_F(KnobFamily, EncoderFramesTurnWithTheAngleAndItsDragNeverHolds) {
    CCRotaryEncoder enc(40, 100, 100, 132, 134, resid::kEncoderStrip, 0);
    ASSERT_NE(enc.getStrip(), nullptr);
    const int32_t frames = enc.getStrip()->getFrameCount();
    // Frame 0 points down, so compass 0 (up) is half a turn round the strip.
    EXPECT_EQ(enc.encoderFrame(0), frames / 2);
    EXPECT_EQ(enc.encoderFrame(180), 0);
    EXPECT_EQ(enc.encoderFrame(90), frames * 270 / 359);
    EXPECT_EQ(enc.encoderFrame(179), frames * 359 / 359 % frames);

    // Round and round in circular mode: crossing the bottom is no end stop.
    setPotDragMode(kPotDragCircular);
    send(enc, kMsgLeftDown, 116, 102);
    for (double w : {0.6, 0.75, 0.9, 0.98, 0.05, 0.15})
        send(enc, kMsgMouseMove, atTurn(w).x, atTurn(w).y);
    EXPECT_EQ(enc.endStopState(), 0);
    EXPECT_NEAR(enc.getValue(), 234, 2); // a little left of the bottom: 180 + 0.15 turn
}

TEST_F(KnobFamily, SpinnerFramesRepeatEndlesslyWithPeriodAndPhase) {
    CCSpinner spin(50, 100, 100, 124, 124, resid::kSpinnerStrip, 64, 0, &rec);
    ASSERT_NE(spin.getStrip(), nullptr);
    const int32_t frames = spin.getStrip()->getFrameCount(); // 16
    EXPECT_EQ(spin.spinnerFrame(0), 0);
    EXPECT_EQ(spin.spinnerFrame(4), 1);
    EXPECT_EQ(spin.spinnerFrame(63), frames - 1);
    EXPECT_EQ(spin.spinnerFrame(64), 0);
    EXPECT_EQ(spin.spinnerFrame(64 * 1000 + 8), 2);
    EXPECT_EQ(spin.spinnerFrame(-4), frames - 1) << "below zero runs backwards";
    spin.setPhase(8);
    EXPECT_EQ(spin.spinnerFrame(0), 2);
    EXPECT_EQ(spin.spinnerFrame(60), 1) << "the phase wraps round the strip";

    // The value is endless and passes through unmapped.
    spin.setValue(1000000, Notify::no, Redraw::no, SelfOnly::yes);
    EXPECT_EQ(spin.getValue(), 1000000);
    EXPECT_FLOAT_EQ(spin.toNormalised(-37), -37.0f);
    CCMsg set(kMsgSetValue, 50, 0, -250.0f);
    spin.onMessage(set);
    EXPECT_EQ(spin.getValue(), -250);
}

TEST_F(KnobFamily, SpinnerCountsTheTurnsOfACircularDrag) {
    setPotDragMode(kPotDragCircular);
    CCSpinner spin(50, 100, 100, 132, 134, resid::kSpinnerStrip, 64, 0, &rec);
    send(spin, kMsgLeftDown, 116, 102); // near the top, as the drag starts
    // Two whole turns clockwise, in steps of an eighth, through the bottom.
    for (int32_t k = 1; k <= 16; ++k) {
        const CCPoint p = atTurn(std::fmod(0.5 + k / 8.0, 1.0));
        send(spin, kMsgMouseMove, p.x, p.y);
    }
    EXPECT_NEAR(spin.getValue(), 128, 1);
    // And back a quarter turn.
    for (double w : {0.375, 0.25}) {
        const CCPoint p = atTurn(w);
        send(spin, kMsgMouseMove, p.x, p.y);
    }
    EXPECT_NEAR(spin.getValue(), 112, 1);
    send(spin, kMsgLeftUp, 0, 0);
}

TEST_F(KnobFamily, SpinnerStepsOneAPixelInLinearMode) {
    setPotDragMode(kPotDragLinear);
    CCSpinner spin(50, 100, 100, 124, 124, resid::kSpinnerStrip, 64, 10);
    send(spin, kMsgLeftDown, 110, 110);
    send(spin, kMsgMouseMove, 110, 103);
    EXPECT_EQ(spin.getValue(), 17);
    send(spin, kMsgMouseMove, 118, 110);
    EXPECT_EQ(spin.getValue(), 18);
    send(spin, kMsgLeftUp, 118, 110);
}

TEST_F(KnobFamily, ModWheelTakesVerticalDragsWhateverTheDragMode) {
    setPotDragMode(kPotDragCircular);
    CCModWheel wheel(60, 100, 100, 120, 160, 0, 127, resid::kModWheelStrip, 0, &rec);
    EXPECT_EQ(wheel.cursorAt(110, 110), kCursorPotLinear);
    ASSERT_TRUE(send(wheel, kMsgLeftDown, 110, 130));
    EXPECT_FALSE(cursorShown());
    send(wheel, kMsgMouseMove, 140, 130); // sideways does nothing
    EXPECT_EQ(wheel.getValue(), 0);
    send(wheel, kMsgMouseMove, 110, 100); // 30 up of 60: half the range
    EXPECT_EQ(wheel.getValue(), 63);
    send(wheel, kMsgMouseMove, 110, 200);
    EXPECT_EQ(wheel.getValue(), 0) << "clamped at the bottom";
    send(wheel, kMsgLeftUp, 110, 200);
    EXPECT_TRUE(cursorShown());
    EXPECT_EQ(rec.values(), (std::vector<int32_t>{63, 0}));
    // The strip frame follows the value as on the pot.
    wheel.setValue(127, Notify::no, Redraw::no, SelfOnly::yes);
    EXPECT_EQ(wheel.frameForValue(127), wheel.getStrip()->getFrameCount());
}

} // namespace
