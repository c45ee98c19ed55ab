#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "platform/headless/headless_window.h"
#include "resources/resource_ids.h"
#include "toolkit/bitmap.h"
#include "toolkit/controls/pot_control.h"
#include "toolkit/cursor.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

// A knob at (100, 100)-(132, 134); its centre is (116, 117).
class PotDrag : public ::testing::Test {
protected:
    void SetUp() override { previousMode = potDragMode(); }
    void TearDown() override { setPotDragMode(previousMode); }

    std::unique_ptr<CCPotControl> pot(int32_t lo, int32_t hi, int32_t v) {
        return std::make_unique<CCPotControl>(9, 100, 100, 132, 134, lo, hi, 0, v, &rec);
    }
    // Sends a message with the screen position as given.
    static bool send(CControl& c, uint16_t code, int32_t x, int32_t y, int32_t first = 0) {
        CCMouseMsg msg = mouseAt(code, x, y);
        msg.first = first;
        return c.onMouse(msg);
    }
    // A point on a circle around the centre at turn fraction w (0 bottom, 0.25 left,
    // 0.5 top, 0.75 right).
    static CCPoint atTurn(double w) {
        double angle = (w - 0.25) * 2 * std::numbers::pi; // 0 at the left, clockwise on screen
        return {116 - int32_t(std::lround(40 * std::cos(angle))),
                117 - int32_t(std::lround(40 * std::sin(angle)))};
    }

    Recorder rec;
    int32_t previousMode = 2;
};

TEST_F(PotDrag, DragModeStartsHorizontal) {
    EXPECT_EQ(previousMode, kPotDragHorizontal);
}

TEST_F(PotDrag, LinearModeNeedsSevenPixelsSidewaysOrMovesByTheRange) {
    setPotDragMode(kPotDragLinear);
    auto p = pot(0, 100, 50);
    ASSERT_TRUE(send(*p, kMsgLeftDown, 110, 110));
    EXPECT_TRUE(p->hasCapture());
    EXPECT_FALSE(cursorShown());
    send(*p, kMsgMouseMove, 116, 112); // 6 right, 2 down
    EXPECT_EQ(p->getValue(), 50);
    send(*p, kMsgMouseMove, 117, 110); // 7 right
    EXPECT_EQ(p->getValue(), 51);
    send(*p, kMsgMouseMove, 110, 107); // 3 up
    EXPECT_EQ(p->getValue(), 54);
    send(*p, kMsgMouseMove, 110, 112); // 2 down
    EXPECT_EQ(p->getValue(), 52);
    send(*p, kMsgLeftUp, 110, 112);
    EXPECT_FALSE(p->hasCapture());
    EXPECT_TRUE(cursorShown());
    EXPECT_EQ(rec.values(), (std::vector<int32_t>{51, 54, 52}));

    // A small range needs more travel per step.
    auto small = pot(-12, 12, 0);
    send(*small, kMsgLeftDown, 110, 110);
    send(*small, kMsgMouseMove, 110, 107);
    EXPECT_EQ(small->getValue(), 0); // 0.24 * 3 truncates
    send(*small, kMsgMouseMove, 110, 100);
    EXPECT_EQ(small->getValue(), 2);
    send(*small, kMsgLeftUp, 110, 100);

    // Moves without a press change nothing.
    send(*p, kMsgMouseMove, 200, 0);
    EXPECT_EQ(p->getValue(), 52);
}

TEST_F(PotDrag, HorizontalModeStepsByOneBeyondFourPixels) {
    auto p = pot(0, 100, 50);
    send(*p, kMsgLeftDown, 110, 110);
    send(*p, kMsgMouseMove, 114, 140);
    EXPECT_EQ(p->getValue(), 50);
    send(*p, kMsgMouseMove, 115, 110);
    EXPECT_EQ(p->getValue(), 51);
    send(*p, kMsgMouseMove, 90, 110);
    EXPECT_EQ(p->getValue(), 50);
    send(*p, kMsgLeftUp, 90, 110);
}

TEST_F(PotDrag, PositionToValueFollowsTheArc) {
    auto p = pot(0, 100, 0);
    EXPECT_NEAR(p->positionToValue(116, 50), 0.5f, 1e-4); // top
    EXPECT_NEAR(p->lastTurnFraction(), 0.5f, 1e-4);
    EXPECT_NEAR(p->positionToValue(50, 117), (0.25f - 0.1f) * 1.25f, 1e-4);  // left
    EXPECT_NEAR(p->positionToValue(180, 117), (0.75f - 0.1f) * 1.25f, 1e-4); // right
    EXPECT_NEAR(p->lastTurnFraction(), 0.75f, 1e-4);
    CCPoint lowerLeft = atTurn(0.1), lowerRight = atTurn(0.9);
    EXPECT_NEAR(p->positionToValue(lowerLeft.x, lowerLeft.y), 0.0f, 0.02);
    EXPECT_NEAR(p->positionToValue(lowerRight.x, lowerRight.y), 1.0f, 0.02);
    // The centre has no angle; it must not produce a NaN.
    float centre = p->positionToValue(116, 117);
    EXPECT_FALSE(std::isnan(centre));
}

TEST_F(PotDrag, CircularModeHoldsAtTheEndPastTheLowerRight) {
    setPotDragMode(kPotDragCircular);
    auto p = pot(0, 100, 50);
    CCPoint start = atTurn(0.5);
    send(*p, kMsgLeftDown, 116, 110);
    send(*p, kMsgMouseMove, start.x, start.y);
    EXPECT_EQ(p->getValue(), 50);
    CCPoint c = atTurn(0.8);
    send(*p, kMsgMouseMove, c.x, c.y);
    EXPECT_NEAR(p->getValue(), 88, 1);
    // Clockwise past the lower right into the dead zone, on round the left
    // half up to the top: held at the maximum all the way.
    for (double w : {0.93, 0.98, 0.03, 0.08, 0.15, 0.2, 0.3, 0.45}) {
        CCPoint q = atTurn(w);
        send(*p, kMsgMouseMove, q.x, q.y);
        EXPECT_EQ(p->getValue(), 100) << "turn " << w;
    }
    EXPECT_EQ(p->endStopState(), 1);
    // Back on the right half the knob follows again.
    CCPoint back = atTurn(0.7);
    send(*p, kMsgMouseMove, back.x, back.y);
    EXPECT_NEAR(p->getValue(), 75, 1);
    EXPECT_EQ(p->endStopState(), 0);

    // Anticlockwise past the lower left holds at the minimum.
    for (double w : {0.4, 0.2, 0.05, 0.96, 0.85}) {
        CCPoint q = atTurn(w);
        send(*p, kMsgMouseMove, q.x, q.y);
    }
    EXPECT_EQ(p->getValue(), 0);
    EXPECT_EQ(p->endStopState(), 2);
    send(*p, kMsgLeftUp, 0, 0);
}

TEST_F(PotDrag, CircularModeWithWrapNeverHolds) {
    setPotDragMode(kPotDragCircular);
    auto p = pot(0, 100, 50);
    p->setWrap(true);
    send(*p, kMsgLeftDown, 116, 110);
    for (double w : {0.6, 0.8, 0.95}) {
        CCPoint q = atTurn(w);
        send(*p, kMsgMouseMove, q.x, q.y);
    }
    EXPECT_EQ(p->endStopState(), 0);
    EXPECT_EQ(p->getValue(), 0) << "beyond the maximum wraps to the minimum";
    send(*p, kMsgLeftUp, 0, 0);
}

TEST_F(PotDrag, WheelStepsAndADeltaOfZeroCountsAsDown) {
    auto p = pot(0, 100, 50);
    EXPECT_TRUE(send(*p, kMsgWheel, 110, 110, 120));
    EXPECT_EQ(p->getValue(), 51);
    send(*p, kMsgWheel, 110, 110, -120);
    send(*p, kMsgWheel, 110, 110, 0);
    EXPECT_EQ(p->getValue(), 49);
    EXPECT_FALSE(send(*p, kMsgWheel, 10, 10, 120)) << "outside the knob";
    p->setEnabled(false, 48);
    EXPECT_FALSE(send(*p, kMsgWheel, 110, 110, 120));
    EXPECT_EQ(p->getValue(), 49);
}

TEST_F(PotDrag, CursorFollowsTheDragMode) {
    auto p = pot(0, 100, 50);
    setPotDragMode(kPotDragCircular);
    EXPECT_EQ(p->cursorAt(0, 0), 303);
    setPotDragMode(kPotDragLinear);
    EXPECT_EQ(p->cursorAt(0, 0), 302);
    setPotDragMode(kPotDragHorizontal);
    EXPECT_EQ(p->cursorAt(0, 0), 304);
    p->setEnabled(false, 48);
    EXPECT_EQ(p->cursorAt(0, 0), 0);
}

TEST_F(PotDrag, HiddenCursorDragThroughAWindow) {
    setPotDragMode(kPotDragLinear);
    HeadlessWindow window(640, 480, {1000, 500});
    CCPageManager manager(CCRect{0, 0, 640, 480}, nullptr, false);
    manager.attachWindow(&window, nullptr, nullptr);
    CCPotControl* p = manager.addChild(std::make_unique<CCPotControl>(9, 100, 100, 132, 134, 0, 100, 0, 50));
    CCMouseMsg press(kMsgLeftDown, 110, 110);
    press.screenX = 1110;
    press.screenY = 610;
    EXPECT_TRUE(manager.dispatch(press));
    EXPECT_EQ(manager.captureObject(), p);
    EXPECT_FALSE(window.cursorVisible());
    CCMouseMsg move(kMsgMouseMove, 110, 100);
    move.screenX = 1110;
    move.screenY = 600;
    manager.dispatch(move);
    EXPECT_EQ(p->getValue(), 60);
    EXPECT_EQ(window.cursorScreenPosition(), (CCPoint{1110, 610})) << "put back after a step";
    CCMouseMsg release(kMsgLeftUp, 110, 100);
    manager.dispatch(release);
    EXPECT_EQ(manager.captureObject(), nullptr);
    EXPECT_TRUE(window.cursorVisible());
    EXPECT_EQ(window.cursorScreenPosition(), (CCPoint{1110, 610}));
}

class PotStrip : public ::testing::Test {
protected:
    ToolkitSessionGuard session;
    std::vector<std::vector<uint8_t>> blobs;
    std::vector<ResourceEntry> entries;
    ResourceModule module;

    // A strip of `frames` frames 32 wide whose frame i has blue = i.
    void addStrip(int32_t id, int32_t frames) {
        int32_t w = 32 * frames, h = 4;
        int32_t stride = w * 4;
        std::vector<uint8_t> dib(40 + size_t(stride) * h, 0);
        BitmapInfoHeader hdr;
        hdr.width = w;
        hdr.height = h;
        hdr.bitCount = 32;
        hdr.sizeImage = uint32_t(stride * h);
        std::memcpy(dib.data(), &hdr, 40);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) {
                uint8_t* px = dib.data() + 40 + size_t(y) * stride + size_t(x) * 4;
                px[0] = uint8_t(x / 32);
                px[3] = 255;
            }
        blobs.push_back(std::move(dib));
        entries.push_back({ResourceType::Bitmap, id, blobs.back().data(), uint32_t(blobs.back().size())});
        module.entries = entries;
        addResourceModule(&module);
    }
};

TEST_F(PotStrip, FrameFromValueOnAStripOfOneHundredAndOneFrames) {
    addStrip(900, 101);
    CCPotControl p(9, 0, 0, 32, 4, 0, 100, 900, 0);
    ASSERT_NE(p.getStrip(), nullptr);
    EXPECT_EQ(p.getStrip()->getFrameCount(), 101);
    EXPECT_EQ(p.frameForValue(0), 0);
    EXPECT_EQ(p.frameForValue(50), 50);
    EXPECT_EQ(p.frameForValue(100), 101);

    // The frame past the end draws as the last frame.
    auto ctx = CCDrawContext::createOffscreen(32, 4);
    p.setValue(100, Notify::no, Redraw::no, SelfOnly::yes);
    p.draw(*ctx);
    EXPECT_EQ(ctx->surface().pixelAt(5, 1).blue, 100);
    p.setValue(50, Notify::no, Redraw::no, SelfOnly::yes);
    p.draw(*ctx);
    EXPECT_EQ(ctx->surface().pixelAt(5, 1).blue, 50);
    EXPECT_EQ(p.currentFrame(), 50);

    // Lead-in and lead-out frames are skipped.
    CCPotControl skipping(9, 0, 0, 32, 4, 0, 100, 900, nullptr, 10, 11, 0);
    EXPECT_EQ(skipping.frameForValue(0), 10);
    EXPECT_EQ(skipping.frameForValue(100), 90);
    // Skipping everything is ignored.
    CCPotControl silly(9, 0, 0, 32, 4, 0, 100, 900, nullptr, 60, 60, 0);
    EXPECT_EQ(silly.frameForValue(100), 101);

    // A missing strip draws nothing and still turns.
    CCPotControl missing(9, 0, 0, 32, 4, 0, 100, 901, 10);
    EXPECT_EQ(missing.getStrip(), nullptr);
    missing.draw(*ctx);
    CCMouseMsg wheel = mouseAt(kMsgWheel, 5, 2);
    wheel.first = 1;
    EXPECT_TRUE(missing.onMouse(wheel));
    EXPECT_EQ(missing.getValue(), 11);
}

TEST_F(PotStrip, LabelSitsAtTheBottomAndNarrowsToItsLetters) {
    addStrip(902, 3); // letters 32 wide, 4 high
    CCPageObject parent(0, 0, 200, 200);
    CCPotControl* plain = parent.addChild(std::make_unique<CCPotControl>(9, 10, 10, 60, 54, 0, 100, 0, 0));
    EXPECT_EQ(plain->getLabelRect(), (CCRect{11, 42, 60, 54})) << "12 pixels without a label font";
    auto owned = std::make_unique<CCPotControl>(9, 10, 10, 110, 54, 0, 100, 0, 0);
    ASSERT_TRUE(owned->setLabelFont(902, 32));
    CCPotControl* p = parent.addChild(std::move(owned));
    EXPECT_EQ(p->getLabelRect(), (CCRect{11, 50, 110, 54}));
    p->layoutLabel(2);
    EXPECT_EQ(p->getLabelRect(), (CCRect{28, 50, 92, 54}))
        << "99 wide narrowed to 64, 17 and 18 off the sides";
    p->layoutLabel(3);
    EXPECT_EQ(p->getLabelRect().width(), 64) << "wider than the label: unchanged";
}

} // namespace
