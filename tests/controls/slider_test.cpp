#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "platform/headless/headless_window.h"
#include "resources/resource_ids.h"
#include "resources/resources.h"
#include "toolkit/controls/click_slider.h"
#include "toolkit/controls/curved_slider.h"
#include "toolkit/controls/horizontal_slider2.h"
#include "toolkit/controls/switch.h"
#include "toolkit/cursor.h"
#include "toolkit/draw_context.h"

namespace {

bool send(CControl& c, uint16_t code, int32_t x, int32_t y) {
    CCMouseMsg msg = mouseAt(code, x, y);
    return c.onMouse(msg);
}

// Sliders with the program's images: the vertical track is 24 x 100 with a
// 20 x 10 handle, the horizontal one 100 x 16 with a 10 x 14 handle, so with
// the 8-pixel step areas both handles travel 74 pixels.
class Sliders : public ::testing::Test {
protected:
    void SetUp() override { setProgramResources(&tovanProgramResources()); }
    void TearDown() override { setProgramResources(nullptr); }

    std::unique_ptr<CCSlider> vertical(int32_t lo = 0, int32_t hi = 100, int32_t v = 50) {
        return std::make_unique<CCSlider>(5, 100, 100, 124, 200, lo, hi, resid::kSliderTrack,
                                          resid::kSliderHandle, v, &rec);
    }
    std::unique_ptr<CCHorizontalSlider> horizontal(int32_t v = 50) {
        return std::make_unique<CCHorizontalSlider>(6, 100, 100, 200, 116, 0, 100, resid::kHSliderTrack,
                                                    resid::kHSliderHandle, v, &rec);
    }

    ToolkitSessionGuard session;
    Recorder rec;
};

TEST_F(Sliders, HandleTravelsBetweenTheStepAreas) {
    auto s = vertical();
    EXPECT_EQ(s->travel(), 74);
    EXPECT_EQ(s->handleRect(100), (CCRect{102, 108, 122, 118})) << "maximum at the top";
    EXPECT_EQ(s->handleRect(0), (CCRect{102, 182, 122, 192}));
    EXPECT_EQ(s->stepArea(0), (CCRect{100, 100, 124, 108}));
    EXPECT_EQ(s->stepArea(1), (CCRect{100, 192, 124, 200}));
    auto h = horizontal();
    EXPECT_EQ(h->handleRect(0), (CCRect{108, 101, 118, 115}));
    EXPECT_EQ(h->handleRect(100), (CCRect{182, 101, 192, 115})) << "maximum at the right";
    EXPECT_EQ(h->stepArea(0), (CCRect{192, 100, 200, 116}));
}

TEST_F(Sliders, StepAreasAddAndTakeOneAndElsewhereDrags) {
    auto s = vertical();
    ASSERT_TRUE(send(*s, kMsgLeftDown, 110, 103));
    EXPECT_FALSE(s->hasCapture()) << "a step is not a drag";
    send(*s, kMsgLeftDown, 110, 196);
    send(*s, kMsgLeftDown, 110, 196);
    EXPECT_EQ(rec.values(), (std::vector<int32_t>{51, 50, 49}));

    ASSERT_TRUE(send(*s, kMsgLeftDown, 110, 150));
    EXPECT_TRUE(s->hasCapture());
    EXPECT_FALSE(cursorShown());
    send(*s, kMsgMouseMove, 140, 113); // 37 up: half the travel
    EXPECT_EQ(s->getValue(), 99);
    send(*s, kMsgMouseMove, 110, 0);
    EXPECT_EQ(s->getValue(), 100);
    send(*s, kMsgLeftUp, 110, 0);
    EXPECT_TRUE(cursorShown());
    EXPECT_EQ(s->cursorAt(0, 0), kCursorNorthSouth);

    auto h = horizontal();
    send(*h, kMsgLeftDown, 196, 108);
    EXPECT_EQ(h->getValue(), 51);
    send(*h, kMsgLeftDown, 103, 108);
    send(*h, kMsgLeftDown, 103, 108);
    EXPECT_EQ(h->getValue(), 49);
    send(*h, kMsgLeftDown, 150, 108);
    send(*h, kMsgMouseMove, 113, 140); // 37 left
    EXPECT_EQ(h->getValue(), 0);
    send(*h, kMsgLeftUp, 113, 140);
    EXPECT_EQ(h->cursorAt(0, 0), kCursorWestEast);
}

TEST_F(Sliders, DragThroughAWindowKeepsTheCursorAtThePressAndCountsEveryPixel) {
    HeadlessWindow window(640, 480, {1000, 500});
    CCPageManager manager(CCRect{0, 0, 640, 480}, nullptr, false);
    manager.attachWindow(&window, nullptr, nullptr);
    CCSlider* s = manager.addChild(vertical());
    CCMouseMsg press(kMsgLeftDown, 110, 150);
    press.screenX = 1110;
    press.screenY = 650;
    manager.dispatch(press);
    // Three moves of one pixel each: 1.35 values a pixel adds up to 4, not 3.
    for (int32_t i = 0; i < 3; ++i) {
        CCMouseMsg move(kMsgMouseMove, 110, 149);
        move.screenX = 1110;
        move.screenY = 649;
        manager.dispatch(move);
        EXPECT_EQ(window.cursorScreenPosition(), (CCPoint{1110, 650}));
    }
    EXPECT_EQ(s->getValue(), 54);
}

TEST_F(Sliders, DoubleClickReReadsTheParameterOnlyOutsideTheStepAreas) {
    FakeParameters params; // outlives the manager, which unbinds its views
    ManagerFixture f;
    params.add(5, 0, 100, 40);
    f.manager.setEffect(&params);
    CCSlider* s = f.manager.addChild(vertical(0, 100, 70));
    CCMouseMsg inStep = mouseAt(kMsgLeftDoubleClick, 110, 103);
    s->onMouse(inStep);
    EXPECT_EQ(s->getValue(), 71) << "two quick presses on the step area are two steps";
    CCMouseMsg onTrack = mouseAt(kMsgLeftDoubleClick, 110, 150);
    s->onMouse(onTrack);
    EXPECT_EQ(s->getValue(), 40);
    send(*s, kMsgLeftUp, 110, 150);
}

TEST_F(Sliders, ClickSliderJumpsToThePressThenDrags) {
    CCClickSlider s(7, 100, 100, 124, 200, 0, 100, resid::kSliderTrack, resid::kSliderHandle, 0, &rec);
    // The track runs from the handle's centre at the top (113) for 74 pixels.
    EXPECT_EQ(s.valueAtRow(113), 100);
    EXPECT_EQ(s.valueAtRow(150), 50); // trunc((37 + 0.37) / 0.74) = 50
    EXPECT_EQ(s.valueAtRow(187), 0);
    EXPECT_EQ(s.valueAtRow(110), 100) << "above the track stays at the maximum";
    send(s, kMsgLeftDown, 110, 150);
    EXPECT_EQ(s.getValue(), 50);
    send(s, kMsgMouseMove, 110, 139); // 11 up from there
    EXPECT_EQ(s.getValue(), 64);
    send(s, kMsgLeftUp, 110, 139);
    send(s, kMsgLeftDown, 110, 103);
    EXPECT_EQ(s.getValue(), 65) << "the step areas still step";
    EXPECT_EQ(rec.values(), (std::vector<int32_t>{50, 64, 65}));

    // A range below zero lands on its own values, centred where it should be.
    CCClickSlider signedRange(8, 100, 100, 124, 200, -50, 50, resid::kSliderTrack, resid::kSliderHandle);
    EXPECT_EQ(signedRange.valueAtRow(150), 0);
    EXPECT_EQ(signedRange.valueAtRow(113), 50);
    EXPECT_EQ(signedRange.valueAtRow(187), -50);
}

TEST_F(Sliders, CurvedSliderRidesItsArch) {
    CCCurvedSlider s(9, 100, 100, 220, 130, 0, 100, resid::kCurvedTrack, resid::kCurvedHandle, 12);
    EXPECT_EQ(s.handleRect(0), (CCRect{108, 118, 120, 130}));
    EXPECT_EQ(s.handleRect(100), (CCRect{200, 118, 212, 130}));
    EXPECT_EQ(s.handleRect(50).top, 106) << "12 pixels higher at the middle";
    EXPECT_LT(s.handleRect(25).top, 118);
    EXPECT_GT(s.handleRect(25).top, 106);
    // It answers presses as the horizontal slider does.
    send(s, kMsgLeftDown, 216, 120);
    EXPECT_EQ(s.getValue(), 1);
}

TEST_F(Sliders, SecondHorizontalSliderDrawsItsOwnFill) {
    auto ctx = CCDrawContext::createOffscreen(100, 16);
    CCHorizontalSlider2 s(10, 0, 0, 100, 16, 0, 100, 50);
    EXPECT_EQ(s.travel(), 100 - 6 - 16);
    s.draw(*ctx);
    const CCRect handle = s.handleRect(50);
    EXPECT_GT(ctx->surface().pixelAt(handle.left - 10, 8).red, 200) << "amber fill left of the handle";
    EXPECT_LT(ctx->surface().pixelAt(handle.right + 10, 8).red, 60) << "dark groove right of it";
    EXPECT_GT(ctx->surface().pixelAt(handle.left + 2, 8).blue, 180) << "a cream handle";
}

TEST(Switches, PressPicksThePositionUnderTheMouseAndReleaseShowsTheCursorOverIt) {
    HeadlessWindow window(640, 480, {1000, 500});
    CCPageManager manager(CCRect{0, 0, 640, 480}, nullptr, false);
    manager.attachWindow(&window, nullptr, nullptr);
    Recorder rec;
    // Three positions of 12 pixels, top to bottom.
    CCSwitch* sw = manager.addChild(std::make_unique<CCSwitch>(11, 100, 100, 116, 136, 0, 3, 0, &rec));
    EXPECT_FALSE(sw->isHorizontal());
    EXPECT_EQ(sw->positionAt({108, 130}), 2);
    CCMouseMsg press(kMsgLeftDown, 108, 130);
    press.screenX = 1108;
    press.screenY = 630;
    manager.dispatch(press);
    EXPECT_EQ(sw->getValue(), 2);
    EXPECT_FALSE(window.cursorVisible());
    CCMouseMsg move(kMsgMouseMove, 108, 117);
    move.screenX = 1108;
    move.screenY = 617; // 13 up: one position
    manager.dispatch(move);
    EXPECT_EQ(sw->getValue(), 1);
    CCMouseMsg release(kMsgLeftUp, 108, 117);
    release.screenX = 1108;
    release.screenY = 617;
    manager.dispatch(release);
    EXPECT_TRUE(window.cursorVisible());
    EXPECT_EQ(window.cursorScreenPosition(), (CCPoint{1108, 618})) << "the middle of position 1";
    EXPECT_EQ(rec.values(), (std::vector<int32_t>{2, 1}));

    // A wide switch runs left to right.
    CCSwitch wide(12, 0, 0, 60, 20, 0, 3);
    EXPECT_TRUE(wide.isHorizontal());
    EXPECT_EQ(wide.positionAt({45, 10}), 2);
    EXPECT_EQ(wide.positionCentre(0), (CCPoint{10, 10}));
}

} // namespace
