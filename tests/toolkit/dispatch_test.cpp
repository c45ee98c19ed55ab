#include "page_test_support.h"

#include "platform/headless/headless_window.h"
#include "toolkit/cursor.h"
#include "toolkit/window_events.h"

#include <gtest/gtest.h>

namespace {

using Log = std::vector<std::string>;

class ClaimingManager : public TestManager {
public:
    bool onManagerMessage(CCMsg& msg) override {
        if (msg.code == kMsgKeyDown && msg.first == 'q') return true;
        return TestManager::onManagerMessage(msg);
    }
};

// Two pages with children, a window and a log of who saw what.
struct Tree : ::testing::Test {
    Tree() {
        manager.attachWindow(&window, nullptr, nullptr);
        a = manager.addChild(probe({0, 0, 50, 50}, "a", &log));
        a1 = a->addChild(probe({0, 0, 10, 10}, "a1", &log));
        a2 = a->addChild(probe({20, 20, 30, 30}, "a2", &log));
        b = manager.addChild(probe({50, 0, 100, 50}, "b", &log));
        log.take();
    }
    EventLog log;
    HeadlessWindow window{100, 100};
    ClaimingManager manager;
    Probe* a;
    Probe* a1;
    Probe* a2;
    Probe* b;
};

TEST_F(Tree, DeliveryGoesParentFirstInOrderAndStopsAtTheFirstTaker) {
    CCMsg unhandled(kMsgKeyDown, 'x');
    EXPECT_FALSE(manager.dispatch(unhandled));
    EXPECT_EQ(log.take(), (Log{"a:msg:263", "a1:msg:263", "a2:msg:263", "b:msg:263"}));

    a1->handled.insert(kMsgKeyDown);
    CCMsg taken(kMsgKeyDown, 'x');
    EXPECT_TRUE(manager.dispatch(taken));
    EXPECT_EQ(log.take(), (Log{"a:msg:263", "a1:msg:263"}));

    // The manager sees every message first.
    CCMsg own(kMsgKeyDown, 'q');
    EXPECT_TRUE(manager.dispatch(own));
    EXPECT_TRUE(log.take().empty());
}

TEST_F(Tree, DisabledHiddenAndInvisibleObjectsAreSkippedWithTheirChildren) {
    a->setEnabledQuiet(false);
    CCMsg msg(kMsgKeyUp, 1);
    manager.dispatch(msg);
    EXPECT_EQ(log.take(), (Log{"b:msg:266"}));

    a->setEnabledQuiet(true);
    manager.addChild(probe({0, 0, 1, 1}, "tabs", &log))
        ->addChild(probe({0, 0, 1, 1}, "t", &log, kTagNone, 1));
    CCPageObject* tabs = b->getNextSibling();
    tabs->setGroup(0x0002);
    b->setVisible(false);
    log.take();
    CCMsg again(kMsgKeyUp, 1);
    manager.dispatch(again);
    EXPECT_EQ(log.take(), (Log{"a:msg:266", "a1:msg:266", "a2:msg:266", "tabs:msg:266"}));

    CCMsg forced(kMsgKeyUp, 1);
    forced.forceDelivery = 1;
    manager.dispatch(forced);
    Log seen = log.take();
    EXPECT_NE(std::find(seen.begin(), seen.end(), "b:msg:266"), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), "t:msg:266"), seen.end());
}

TEST_F(Tree, CapturedObjectGetsMouseMessagesFirstButNotOthers) {
    manager.setCapture(b, true);
    EXPECT_TRUE(b->hasCapture());
    b->handled.insert(kMsgMouseMove);
    CCMouseMsg move(kMsgMouseMove, 5, 5);
    EXPECT_TRUE(manager.dispatch(move));
    EXPECT_EQ(log.take(), (Log{"b:mouse:261"}));

    // Not handled by the capture: the tree gets it, the capture again in turn.
    CCMouseMsg up(kMsgLeftUp, 5, 5);
    manager.dispatch(up);
    EXPECT_EQ(log.take(), (Log{"b:mouse:258", "a:mouse:258", "a1:mouse:258", "a2:mouse:258", "b:mouse:258"}));

    CCMsg key(kMsgKeyDown, 'x');
    manager.dispatch(key);
    EXPECT_EQ(log.take().front(), "a:msg:263");

    // Capturing another control releases the first.
    manager.setCapture(a2, true);
    EXPECT_FALSE(b->hasCapture());
    EXPECT_EQ(manager.captureObject(), a2);
    manager.setCapture(a2, false);
    EXPECT_EQ(manager.captureObject(), nullptr);
    EXPECT_FALSE(a2->hasCapture());
}

TEST_F(Tree, PressIsProbedFirstAndOnlyATakerGetsTheCaptureAndThePress) {
    CCMouseMsg press(0, 25, 25);
    EXPECT_FALSE(dispatchLeftPress(manager, window, press));
    EXPECT_FALSE(window.mouseCaptured());
    for (const std::string& e : log.take())
        EXPECT_EQ(e.find(":mouse:257"), std::string::npos) << e;

    a2->claimProbe = true;
    EXPECT_TRUE(dispatchLeftPress(manager, window, press));
    EXPECT_TRUE(window.mouseCaptured());
    Log seen = log.take();
    EXPECT_EQ(seen[2], "a2:mouse:267");
    EXPECT_EQ(seen.back(), "b:mouse:257");
    dispatchLeftRelease(manager, window, press);
    EXPECT_FALSE(window.mouseCaptured());
}

TEST_F(Tree, HoverFollowsTheMouseAndTheTimerNotifiesOnce) {
    a2->hoverable = true;
    a2->cursor = kCursorHand;
    b->hoverable = true;
    Probe* watcher = b;
    CCMouseMsg over(kMsgMouseMove, 25, 25);
    manager.dispatch(over);
    EXPECT_EQ(manager.hoverObject(), a2);
    EXPECT_EQ(window.cursorShape(), kCursorHand);
    EXPECT_EQ(window.timerPeriod(kHoverTimerId), 400u);

    ASSERT_TRUE(window.fireTimer(manager, kHoverTimerId));
    EXPECT_EQ(watcher->hoverTarget, a2);
    EXPECT_FALSE(window.timerRunning(kHoverTimerId));

    // Moving on the same control does not restart the timer.
    manager.dispatch(over);
    EXPECT_FALSE(window.timerRunning(kHoverTimerId));

    // Leaving every control clears the hover and announces that once more.
    CCMouseMsg away(kMsgMouseMove, 45, 5);
    manager.dispatch(away);
    EXPECT_EQ(manager.hoverObject(), nullptr);
    EXPECT_EQ(window.cursorShape(), kCursorArrow);
    ASSERT_TRUE(window.fireTimer(manager, kHoverTimerId));
    EXPECT_EQ(watcher->hoverTarget, nullptr);
}

TEST_F(Tree, HoverFadeUsesTheNearestAncestorWithAHoverOpacity) {
    a2->hoverable = true;
    a->setHoverFade(160, 255, 0, 0);
    CCMouseMsg over(kMsgMouseMove, 25, 25);
    manager.dispatch(over); // closed manager: fades apply at once
    EXPECT_EQ(a->getOpacity(), 255);
    EXPECT_EQ(a2->getOpacity(), 255);
    CCMouseMsg away(kMsgMouseMove, 75, 5);
    manager.dispatch(away);
    EXPECT_EQ(a->getOpacity(), 160);
    EXPECT_EQ(a->fadeFinished, 2);
}

TEST_F(Tree, EnableChangesOnlyWhenTheStateChanges) {
    a1->setEnabled(true);
    EXPECT_TRUE(log.take().empty());
    a1->setEnabled(false);
    EXPECT_EQ(log.take().front(), "a1:disabled");
    EXPECT_EQ(a1->getOpacity(), 48); // closed: at once
    a1->setEnabled(true, 200);
    EXPECT_EQ(a1->getOpacity(), 200);

    Probe* fixed = manager.addChild(probe({0, 0, 1, 1}, "fixed", &log, kTagNeverDisabled));
    fixed->setEnabled(false);
    fixed->setEnabledQuiet(false);
    EXPECT_TRUE(fixed->isEnabled());
    EXPECT_EQ(fixed->getOpacity(), 255);
}

struct Modal : Tree {
    Probe* open(int32_t mode) {
        auto panel = probe({20, 20, 60, 60}, "panel", &log);
        panel->mode = mode;
        panel->destroyed = &panelGone;
        Probe* raw = panel.get();
        raw->addChild(probe({5, 5, 15, 15}, "ok", &log));
        manager.showModal(std::move(panel));
        log.take();
        return raw;
    }
    bool closed() { return manager.modalPanel() == nullptr && panelGone; }
    bool panelGone = false;
};

TEST_F(Modal, PressOutsideClosesThePanelAndAnnouncesIt) {
    open(0);
    CCMouseMsg outside(kMsgLeftDown, 5, 5);
    EXPECT_TRUE(manager.dispatch(outside));
    EXPECT_TRUE(closed());
    Log seen = log.take();
    EXPECT_EQ(seen.front(), "a:msg:529");
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "a1:mouse:257"), 0);
}

TEST_F(Modal, ProbeIsClaimedByThePanelInModesOneAndTwo) {
    for (int32_t mode : {1, 2}) {
        Probe* panel = open(mode);
        CCMouseMsg probeOutside(kMsgPressProbe, 5, 5);
        EXPECT_TRUE(manager.dispatch(probeOutside));
        EXPECT_EQ(probeOutside.target, panel);
        EXPECT_TRUE(log.take().empty());
        manager.showModal(nullptr);
    }
    open(0);
    CCMouseMsg probeOutside(kMsgPressProbe, 5, 5);
    EXPECT_FALSE(manager.dispatch(probeOutside));
    EXPECT_EQ(probeOutside.target, nullptr);
}

TEST_F(Modal, UnhandledPressInsideClosesOnlyInModesZeroAndTwo) {
    for (int32_t mode : {0, 1, 2}) {
        open(mode);
        CCMouseMsg inside(kMsgLeftDown, 50, 50);
        manager.dispatch(inside);
        EXPECT_EQ(closed(), mode != 1) << mode;
        Log seen = log.take();
        EXPECT_EQ(seen.front(), "panel:mouse:257");
        manager.showModal(nullptr);
        panelGone = false;
    }
}

TEST_F(Modal, OnlyThePanelHearsTheMouseAndNothingElseIsDelivered) {
    Probe* panel = open(0);
    CCMouseMsg move(kMsgMouseMove, 30, 30);
    manager.dispatch(move);
    EXPECT_EQ(log.take(), (Log{"panel:mouse:261", "ok:mouse:261"}));
    CCMsg key(kMsgKeyDown, 'x');
    EXPECT_FALSE(manager.dispatch(key));
    EXPECT_TRUE(log.take().empty());
    EXPECT_EQ(manager.modalPanel(), panel);
}

TEST_F(Modal, APanelMayCloseItselfFromItsOwnHandler) {
    Probe* panel = open(1);
    static_cast<Probe*>(panel->getFirstChild())->closeModalOnPress = true;
    CCMouseMsg press(kMsgLeftDown, 30, 30);
    EXPECT_TRUE(manager.dispatch(press));
    EXPECT_TRUE(closed());
    EXPECT_TRUE(log.contains("a:msg:529"));
}

} // namespace

namespace {

TEST(Cursor, HiddenDragKeepsThePressPositionAndShowsTheCursorOnce) {
    HeadlessWindow window(100, 100, {300, 200});
    window.warpCursor({350, 260});
    EXPECT_EQ(cursorClientPos(&window), (CCPoint{50, 60}));
    hideCursorAt(&window, 350, 260);
    EXPECT_FALSE(window.cursorVisible());
    CCMouseMsg move(kMsgMouseMove, 57, 58);
    move.screenX = 357;
    move.screenY = 258;
    EXPECT_EQ(dragDelta(move), (CCPoint{7, -2}));
    hideCursorAt(&window, 350, 260); // already hidden: no second hide to undo
    showCursorAtClient(&window, 10, 20);
    EXPECT_TRUE(window.cursorVisible());
    EXPECT_EQ(window.cursorScreenPosition(), (CCPoint{310, 220}));
    window.warpCursor({0, 0});
    showCursorAt(&window, 1, 1); // shown already: the cursor stays put
    EXPECT_EQ(window.cursorScreenPosition(), (CCPoint{0, 0}));
    EXPECT_TRUE(cursorShown());
}

} // namespace
