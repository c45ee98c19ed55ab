#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/scripted_popups.h"
#include "resources/resource_ids.h"
#include "resources/resources.h"
#include "toolkit/bitmap_registry.h"
#include "toolkit/controls/button_menu.h"
#include "toolkit/controls/flashing_on_off_button.h"
#include "toolkit/controls/pulse_button.h"
#include "toolkit/draw_context.h"

namespace {

bool send(CControl& c, uint16_t code, int32_t x, int32_t y) {
    CCMouseMsg msg = mouseAt(code, x, y);
    return c.onMouse(msg);
}

// A window whose timers are fired by hand, and a clock moved by hand.
class TimedButtons : public ::testing::Test {
protected:
    TimedButtons() : window(640, 480), manager(CCRect{0, 0, 640, 480}, nullptr, false) {
        manager.attachWindow(&window, nullptr, nullptr);
    }
    HandClock clock;
    HeadlessWindow window;
    CCPageManager manager;
};

TEST_F(TimedButtons, FlashingButtonAlternatesWhileOnAndStopsItsTimerWhenOff) {
    auto* b = manager.addChild(
        std::make_unique<CCFlashingOnOffButton>(70, 10, 10, 34, 26, 0, kButtonToggle, nullptr, 0, &clock));
    EXPECT_EQ(b->currentFrame(), 1) << "off";
    EXPECT_FALSE(window.timerRunning(b->timerId()));

    send(*b, kMsgLeftDown, 20, 20);
    EXPECT_EQ(b->currentFrame(), 2) << "pressed";
    send(*b, kMsgLeftUp, 20, 20);
    ASSERT_EQ(b->getValue(), 1);
    EXPECT_TRUE(window.timerRunning(b->timerId()));
    EXPECT_EQ(window.timerPeriod(b->timerId()), CCFlashingOnOffButton::kTickMs);

    // Lit from the moment it is switched on, then dark, then lit, 500 ms each.
    const std::pair<uint32_t, int32_t> phases[] = {{0, 0}, {499, 0}, {1, 1}, {499, 1}, {1, 0}, {2000, 0}};
    for (const auto& [advance, frame] : phases) {
        clock.advance(advance);
        EXPECT_TRUE(window.fireTimer(manager, b->timerId()));
        EXPECT_EQ(b->currentFrame(), frame) << clock.now;
    }

    b->setValue(0, Notify::yes, Redraw::yes, SelfOnly::yes);
    EXPECT_FALSE(window.timerRunning(b->timerId()));
    EXPECT_EQ(b->currentFrame(), 1);
}

TEST_F(TimedButtons, EachTimedButtonHasATimerOfItsOwn) {
    auto* a = manager.addChild(
        std::make_unique<CCFlashingOnOffButton>(70, 10, 10, 34, 26, 0, kButtonToggle, nullptr, 0, &clock));
    auto* b = manager.addChild(
        std::make_unique<CCPulseButton>(71, 40, 10, 72, 26, 0, kButtonToggle, nullptr, 0, &clock));
    EXPECT_NE(a->timerId(), b->timerId());
    EXPECT_NE(a->timerId(), kHoverTimerId);
    a->setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    b->setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    a->setValue(0, Notify::no, Redraw::no, SelfOnly::yes);
    EXPECT_TRUE(window.timerRunning(b->timerId())) << "switching one off leaves the other running";
}

TEST_F(TimedButtons, ButtonSwitchedOnBeforeJoiningAWindowStartsItsTimerThere) {
    auto pulse = std::make_unique<CCPulseButton>(71, 40, 10, 72, 26, 0, kButtonToggle, nullptr, 0, &clock);
    pulse->setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    auto* b = manager.addChild(std::move(pulse));
    EXPECT_TRUE(window.timerRunning(b->timerId()));
    EXPECT_EQ(window.timerPeriod(b->timerId()), 50u);
}

TEST_F(TimedButtons, TimerStopsWhenTheButtonLeavesTheWindowAndStartsWhenItComesBack) {
    auto* panel = manager.addChild(std::make_unique<CCPageObject>(0, 0, 100, 100));
    auto* b = panel->addChild(
        std::make_unique<CCFlashingOnOffButton>(70, 10, 10, 34, 26, 0, kButtonToggle, nullptr, 0, &clock));
    b->setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    const uint32_t id = b->timerId();
    ASSERT_TRUE(window.timerRunning(id));
    std::unique_ptr<CCPageObject> removed = manager.removeChild(panel);
    EXPECT_FALSE(window.timerRunning(id)) << "a removed button no longer reaches the window";
    manager.addChildObject(std::move(removed));
    EXPECT_TRUE(window.timerRunning(id));
    manager.removeChild(b).reset();
    EXPECT_FALSE(window.timerRunning(id));
}

TEST_F(TimedButtons, PulseGlowRisesAndFallsFromTheMomentItIsSwitchedOn) {
    auto* b = manager.addChild(
        std::make_unique<CCPulseButton>(71, 40, 10, 72, 26, 0, kButtonToggle, nullptr, 0, &clock));
    EXPECT_EQ(b->glowOpacity(), 0);
    b->setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    const std::pair<uint32_t, int32_t> curve[] = {{0, 0},     {300, 128}, {300, 255},
                                                  {300, 128}, {300, 0},   {600, 255}};
    for (const auto& [advance, glow] : curve) {
        clock.advance(advance);
        window.fireTimer(manager, b->timerId());
        EXPECT_NEAR(b->glowOpacity(), glow, 1) << clock.now;
    }
    b->setValue(0, Notify::no, Redraw::no, SelfOnly::yes);
    EXPECT_EQ(b->glowOpacity(), 0);
    EXPECT_FALSE(window.timerRunning(b->timerId()));
}

TEST_F(TimedButtons, PulseDrawsItsBaseAtFiveEighthsAndTheGlowOverIt) {
    ToolkitSessionGuard session;
    setProgramResources(&tovanProgramResources());
    CCPulseButton b(71, 0, 0, 32, 16, resid::kPulseButton, kButtonToggle, nullptr, 0, &clock);
    auto render = [&] {
        auto ctx = CCDrawContext::createOffscreen(32, 16);
        b.draw(*ctx);
        return ctx->surface().pixelAt(16, 1);
    };
    CCImageStrip* strip = acquireStripByCount(resid::kPulseButton, 2);
    ASSERT_NE(strip, nullptr);
    auto ctx = CCDrawContext::createOffscreen(32, 16);
    ctx->drawFrame(*strip, {0, 0}, 0);
    releaseBitmap(strip);
    const CCPixel full = ctx->surface().pixelAt(16, 1);
    const CCPixel off = render();
    EXPECT_NEAR(off.alpha, full.alpha * 5 / 8, 2);
    b.setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    clock.advance(CCPulseButton::kPulseMs / 2);
    EXPECT_GT(render().red, off.red + 40) << "the glow at its brightest";
    setProgramResources(nullptr);
}

class ButtonMenus : public ::testing::Test {
protected:
    ButtonMenus() { previous = setPopupMenuHost(&menus); }
    ~ButtonMenus() override { setPopupMenuHost(previous); }
    ScriptedPopupMenus menus;
    PopupMenuHost* previous = nullptr;
    Recorder rec;
};

TEST_F(ButtonMenus, ChosenIndexBecomesTheValueEveryTimeAndNothingChosenSendsNothing) {
    CCButtonMenu menu(80, 10, 10, 50, 26, 0, &rec);
    for (const char* item : {"Copy", "Paste", "Swap"})
        menu.addItem(item);
    menus.chooseNext({"Swap"});
    ASSERT_TRUE(send(menu, kMsgLeftDown, 20, 20));
    EXPECT_EQ(menu.currentFrame(), 2) << "pressed while the menu is open";
    send(menu, kMsgLeftUp, 20, 20);
    EXPECT_EQ(menu.currentFrame(), 1);
    EXPECT_EQ(menu.getValue(), 2);
    ASSERT_EQ(menus.shown.size(), 1u);
    EXPECT_EQ(menus.shown[0].items.size(), 3u);
    EXPECT_EQ(menus.shown[0].items[1].text, "Paste");
    EXPECT_EQ(menus.shown[0].screenY, 26) << "opens below the button";

    menus.chooseNext({"Swap"});
    send(menu, kMsgLeftDown, 20, 20);
    send(menu, kMsgLeftUp, 20, 20);
    menus.cancelNext();
    send(menu, kMsgLeftDown, 20, 20);
    send(menu, kMsgLeftUp, 20, 20);
    EXPECT_EQ(rec.values(), (std::vector<int32_t>{2, 2})) << "the same command twice, then none";
    EXPECT_EQ(menu.getValue(), 2);

    menu.setEnabled(false, 48);
    EXPECT_EQ(menu.currentFrame(), 0);
    EXPECT_FALSE(send(menu, kMsgLeftDown, 20, 20));
}

} // namespace
