#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "toolkit/controls/indicator.h"
#include "toolkit/controls/on_off_button.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/radio_button.h"
#include "toolkit/controls/simple_button.h"
#include "toolkit/controls/simple_progress.h"
#include "toolkit/controls/simple_radio_button.h"
#include "toolkit/controls/text_button.h"

namespace {

bool press(CControl& c, int32_t x, int32_t y) {
    CCMouseMsg msg = mouseAt(kMsgLeftDown, x, y);
    return c.onMouse(msg);
}
bool release(CControl& c, int32_t x, int32_t y) {
    CCMouseMsg msg = mouseAt(kMsgLeftUp, x, y);
    return c.onMouse(msg);
}

struct ModeCase {
    int32_t mode;
    int32_t start;
    bool releaseInside;
    std::vector<int32_t> afterPress;   // values notified by the press
    std::vector<int32_t> afterRelease; // values notified by press and release together
    int32_t end;
};

class ButtonModes : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ButtonModes, PressAndRelease) {
    const ModeCase& m = GetParam();
    Recorder rec;
    CCOnOffButton b(191, 10, 10, 30, 26, 0, m.mode, &rec);
    b.setValue(m.start, Notify::no, Redraw::no, SelfOnly::yes);
    ASSERT_TRUE(press(b, 15, 15));
    EXPECT_TRUE(b.hasCapture());
    EXPECT_EQ(rec.values(), m.afterPress);
    ASSERT_TRUE(release(b, m.releaseInside ? 15 : 100, 15));
    EXPECT_FALSE(b.hasCapture());
    EXPECT_EQ(rec.values(), m.afterRelease);
    EXPECT_EQ(b.getValue(), m.end);
}

INSTANTIATE_TEST_SUITE_P(EachMode, ButtonModes,
                         ::testing::Values(ModeCase{kButtonMomentary, 0, true, {1}, {1, 0}, 0},
                                           ModeCase{kButtonMomentary, 0, false, {1}, {1, 0}, 0},
                                           ModeCase{kButtonToggle, 0, true, {}, {1}, 1},
                                           ModeCase{kButtonToggle, 1, true, {}, {0}, 0},
                                           ModeCase{kButtonToggle, 0, false, {}, {}, 0},
                                           ModeCase{kButtonTrigger, 0, false, {1, 0}, {1, 0}, 0},
                                           ModeCase{kButtonSetOnly, 0, true, {}, {1}, 1},
                                           ModeCase{kButtonSetOnly, 1, true, {}, {}, 1},
                                           ModeCase{kButtonSetOnly, 0, false, {}, {}, 0},
                                           ModeCase{kButtonTriggerTracking, 0, true, {}, {1, 0}, 0},
                                           ModeCase{kButtonTriggerTracking, 0, false, {}, {}, 0}));

TEST(Buttons, TrackingModeLooksPressedOnlyOverIt) {
    CCOnOffButton b(191, 10, 10, 30, 26, 0, kButtonTriggerTracking);
    press(b, 15, 15);
    CCMouseMsg in = mouseAt(kMsgMouseMove, 16, 16);
    b.onMouse(in);
    EXPECT_TRUE(b.isPressed());
    CCMouseMsg out = mouseAt(kMsgMouseMove, 60, 16);
    b.onMouse(out);
    EXPECT_FALSE(b.isPressed());
    release(b, 60, 16);
    EXPECT_EQ(b.cursorAt(0, 0), 300);
}

TEST(Buttons, DisabledButtonIgnoresPresses) {
    Recorder rec;
    CCOnOffButton b(191, 10, 10, 30, 26, 0, kButtonToggle, &rec);
    b.setEnabled(false, 48);
    EXPECT_FALSE(press(b, 15, 15));
    CCMouseMsg probe = mouseAt(kMsgPressProbe, 15, 15);
    EXPECT_FALSE(b.onMouse(probe));
    EXPECT_TRUE(rec.changes.empty());
}

TEST(Buttons, TextButtonToggleAndMomentary) {
    Recorder rec;
    CCTextButton toggle(152, 0, 0, 60, 14, 0, "slot 1", true, &rec);
    press(toggle, 5, 5);
    EXPECT_TRUE(toggle.isPressed());
    release(toggle, 5, 5);
    EXPECT_EQ(toggle.getValue(), 1);
    press(toggle, 5, 5);
    release(toggle, 90, 5);
    EXPECT_EQ(toggle.getValue(), 1) << "released outside: no flip";
    EXPECT_EQ(rec.values(), (std::vector<int32_t>{1}));

    rec.changes.clear();
    CCTextButton momentary(153, 0, 0, 60, 14, 0, "slot 2", false, &rec);
    press(momentary, 5, 5);
    EXPECT_TRUE(rec.changes.empty());
    release(momentary, 5, 5);
    EXPECT_EQ(rec.values(), (std::vector<int32_t>{1, 0}));
    press(momentary, 5, 5);
    release(momentary, 90, 5);
    EXPECT_EQ(rec.values(), (std::vector<int32_t>{1, 0})) << "outside it stays at 0: nothing new";
    EXPECT_EQ(momentary.getCaption(), "slot 2");
}

TEST(RadioButtons, MembersFollowTheChoiceAndReportThroughIt) {
    Recorder page;
    CCRadioButton* radio = page.addChild(std::make_unique<CCRadioButton>(20, 42, 87, 142, 103));
    for (int i = 0; i < 4; ++i)
        radio->addMember(
            std::make_unique<CCOnOffButton>(kTagNone, 25 * i, 0, 25 * i + 24, 16, 0, kButtonSetOnly));
    EXPECT_EQ(radio->getMaximum(), 3);
    EXPECT_EQ(radio->member(0)->getValue(), 1);

    press(*radio->member(2), 42 + 55, 90);
    release(*radio->member(2), 42 + 55, 90);
    EXPECT_EQ(radio->getValue(), 2);
    ASSERT_EQ(page.changes.size(), 1u) << "members report to the radio, which reports once";
    EXPECT_EQ(page.changes[0].tag, 20);
    EXPECT_EQ(page.changes[0].value, 2);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(radio->member(i)->getValue(), i == 2 ? 1 : 0) << i;

    // From outside (513) and by the wheel.
    CCMsg set(kMsgSetValue, 20, 3, 1.0f);
    radio->onMessage(set);
    EXPECT_EQ(radio->member(3)->getValue(), 1);
    EXPECT_EQ(radio->member(2)->getValue(), 0);
    CCMouseMsg wheel = mouseAt(kMsgWheel, 50, 90);
    wheel.first = -120;
    EXPECT_TRUE(radio->onMouse(wheel));
    EXPECT_EQ(radio->getValue(), 2);
    EXPECT_EQ(radio->member(2)->getValue(), 1);

    // A toggling member cannot switch the choice off.
    CCRadioButton* toggles = page.addChild(std::make_unique<CCRadioButton>(21, 0, 200, 100, 216));
    for (int i = 0; i < 2; ++i)
        toggles->addMember(
            std::make_unique<CCOnOffButton>(kTagNone, 25 * i, 0, 25 * i + 24, 16, 0, kButtonToggle));
    press(*toggles->member(0), 5, 205);
    release(*toggles->member(0), 5, 205);
    EXPECT_EQ(toggles->getValue(), 0);
    EXPECT_EQ(toggles->member(0)->getValue(), 1);
}

TEST(RadioButtons, SimpleRadioPicksThePositionUnderThePress) {
    Recorder page;
    CCSimpleRadioButton* tabs = page.addChild(std::make_unique<CCSimpleRadioButton>(181, 15, 19, 215, 39));
    for (int i = 0; i < 4; ++i)
        tabs->addPosition(50 * i, 0, 0, 2, {48, 20});
    EXPECT_EQ(tabs->positionCount(), 4);
    EXPECT_EQ(tabs->positionAt({15 + 49, 25}), -1) << "the gap between two positions";
    press(*tabs, 15 + 110, 25);
    EXPECT_EQ(tabs->getValue(), 2);
    press(*tabs, 15 + 49, 25);
    EXPECT_EQ(tabs->getValue(), 2);
    EXPECT_EQ(page.values(), (std::vector<int32_t>{2}));
}

TEST(Indicators, LampsAndProgressShowTheirValue) {
    CCIndicator lamp(175, 0, 0, 12, 12, 0);
    CCMsg on(kMsgSetValue, 175, 1, 1.0f);
    lamp.onMessage(on);
    EXPECT_EQ(lamp.getValue(), 1);
    CCMouseMsg down = mouseAt(kMsgLeftDown, 5, 5);
    EXPECT_FALSE(lamp.onMouse(down));

    CCSimpleProgress bar(kTagNone, 0, 0, 100, 8, 0, 0, 40);
    EXPECT_EQ(bar.filledWidth(), 0);
    bar.setValue(10, Notify::no, Redraw::no, SelfOnly::yes);
    EXPECT_EQ(bar.filledWidth(), 25);
    bar.setValue(40, Notify::no, Redraw::no, SelfOnly::yes);
    EXPECT_EQ(bar.filledWidth(), 100);
}

TEST(Panels, PanelLetsPressesThroughToItsControls) {
    CCPanel panel(kTagNone, 0, 0, 200, 100);
    CCOnOffButton* b = panel.addChild(std::make_unique<CCOnOffButton>(191, 10, 10, 30, 26, 0));
    EXPECT_FALSE(panel.hitTest({15, 15})) << "the button takes it";
    EXPECT_TRUE(panel.hitTest({100, 50}));
    CCMouseMsg probe = mouseAt(kMsgPressProbe, 15, 15);
    EXPECT_TRUE(panel.deliver(probe));
    EXPECT_EQ(probe.target, b);
    CCMsg set(kMsgSetValue, kTagNone, 1, 1.0f);
    EXPECT_FALSE(panel.onMessage(set)) << "a panel holds no value";
}

TEST(Panels, ModalPanelClosesThroughTheManager) {
    ManagerFixture f;
    int closedCount = 0;
    struct Watcher : CCPageObject {
        int* count;
        explicit Watcher(int* c) : CCPageObject(0, 0, 1, 1), count(c) {}
        bool onMessage(CCMsg& msg) override {
            if (msg.code == kMsgModalClosed) ++*count;
            return false;
        }
    };
    f.manager.addChild(std::make_unique<Watcher>(&closedCount));
    auto owned = std::make_unique<CCModalPanel>(100, 100, 300, 200, 0, 1);
    CCModalPanel* panel = owned.get();
    f.manager.showModal(std::move(owned));
    EXPECT_EQ(f.manager.modalPanel(), panel);
    CCMouseMsg probe = mouseAt(kMsgPressProbe, 10, 10);
    EXPECT_TRUE(f.manager.dispatch(probe)) << "mode 1 takes every press";
    panel->close();
    EXPECT_EQ(f.manager.modalPanel(), nullptr);
    EXPECT_EQ(closedCount, 1);
}

} // namespace
