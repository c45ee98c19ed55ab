#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "platform/headless/scripted_popups.h"
#include "toolkit/controls/menu_selector.h"
#include "toolkit/controls/menu_selector_ex.h"
#include "toolkit/controls/popup_list.h"
#include "toolkit/controls/pot_control.h"
#include "toolkit/controls/simple_radio_button.h"

#include <string>

namespace {

// Installs scripted pop-up menus for one test.
class ScriptedMenus : public ::testing::Test {
protected:
    ScriptedMenus() { previous = setPopupMenuHost(&menus); }
    ~ScriptedMenus() override { setPopupMenuHost(previous); }

    // The program selector of a setlist slot: "(undefined)" and eight sub-lists.
    static void fillProgramMenu(CCMenuList& menu) {
        menu.addItem("(undefined)", 0);
        for (int k = 0; k < 8; ++k) {
            CCMenuList& sub =
                menu.addSubList(std::to_string(16 * k + 1) + " - " + std::to_string(16 * k + 16));
            for (int j = 0; j < 16; ++j)
                sub.addItem(std::to_string(16 * k + j + 1), 16 * k + j + 1);
        }
    }
    static bool pressAt(CControl& c, int32_t x, int32_t y) {
        CCMouseMsg msg = mouseAt(kMsgLeftDown, x, y);
        return c.onMouse(msg);
    }

    ScriptedPopupMenus menus;
    PopupMenuHost* previous = nullptr;
    Recorder rec;
};

TEST_F(ScriptedMenus, ChoosingFromASubListSetsTheItemsValue) {
    CCMenuSelectorEx program(132, 50, 30, 80, 46, 0, &rec);
    fillProgramMenu(program.menu());
    EXPECT_EQ(program.getText(), "(undefined)");

    menus.chooseNext({"1 - 16", "5"});
    EXPECT_TRUE(pressAt(program, 60, 35));
    EXPECT_EQ(program.getValue(), 5);
    EXPECT_EQ(program.getText(), "5");
    ASSERT_EQ(rec.changes.size(), 1u);
    EXPECT_EQ(rec.changes[0].tag, 132);
    EXPECT_EQ(rec.changes[0].value, 5);

    // What the platform was shown: nine entries, the sub-lists not choosable,
    // the current item checked, opened below the selector.
    ASSERT_EQ(menus.shown.size(), 1u);
    const auto& shown = menus.shown[0];
    ASSERT_EQ(shown.items.size(), 9u);
    EXPECT_TRUE(shown.items[0].checked);
    EXPECT_EQ(shown.items[8].text, "113 - 128");
    EXPECT_EQ(shown.items[8].submenu.size(), 16u);
    EXPECT_EQ(shown.screenY, 46);

    menus.chooseNext({"113 - 128", "128"});
    pressAt(program, 60, 35);
    EXPECT_EQ(program.getValue(), 128);
    EXPECT_TRUE(menus.shown[1].items[1].submenu[4].checked) << "5 was current";
    EXPECT_EQ(menus.shown[1].items[1].submenu[4].text, "5");
    EXPECT_FALSE(menus.shown[1].items[0].checked);
}

TEST_F(ScriptedMenus, ClosingWithoutAChoiceOrChoosingASubListChangesNothing) {
    CCMenuSelectorEx program(132, 50, 30, 80, 46, 0, &rec);
    fillProgramMenu(program.menu());
    program.setValue(7, Notify::no, Redraw::no, SelfOnly::yes);
    menus.cancelNext();
    pressAt(program, 60, 35);
    menus.chooseNext({"17 - 32"}); // a sub-list title is not a choice
    pressAt(program, 60, 35);
    pressAt(program, 60, 35); // nothing scripted
    EXPECT_EQ(program.getValue(), 7);
    EXPECT_TRUE(rec.changes.empty());
    EXPECT_EQ(menus.shown.size(), 3u);
}

TEST_F(ScriptedMenus, SeparatorsAndValueLimits) {
    CCMenuSelectorEx sync(22, 0, 0, 100, 16, 0, &rec);
    CCMenuList& m = sync.menu();
    EXPECT_TRUE(m.addItem("Free", 0));
    m.addSeparator();
    EXPECT_TRUE(m.addItem("MIDI sync", 4));
    EXPECT_FALSE(m.addItem("too big", kMenuValueLimit + 1));
    EXPECT_FALSE(m.addItem("separator value", kMenuSeparator));
    EXPECT_EQ(m.items().size(), 3u);
    EXPECT_TRUE(m.items()[1].isSeparator());

    menus.chooseCommandNext(1);
    pressAt(sync, 5, 5);
    EXPECT_EQ(sync.getValue(), 4) << "commands count choosable items only";
    EXPECT_TRUE(menus.shown[0].items[1].separator);

    // The wheel walks the choosable items and stops at the ends: toward the
    // player (or no delta) goes back, away goes on.
    CCMouseMsg down = mouseAt(kMsgWheel, 5, 5);
    down.first = 0;
    sync.onMouse(down);
    EXPECT_EQ(sync.getValue(), 0);
    down.first = -120;
    sync.onMouse(down);
    EXPECT_EQ(sync.getValue(), 0);
    CCMouseMsg up = mouseAt(kMsgWheel, 5, 5);
    up.first = 120;
    sync.onMouse(up);
    EXPECT_EQ(sync.getValue(), 4);
    sync.onMouse(up);
    EXPECT_EQ(sync.getValue(), 4);
    EXPECT_EQ(rec.values(), (std::vector<int32_t>{4, 0, 4}));
}

TEST_F(ScriptedMenus, WheelWalksIntoSubLists) {
    CCMenuSelectorEx program(132, 50, 30, 80, 46, 0, &rec);
    fillProgramMenu(program.menu());
    CCMouseMsg away = mouseAt(kMsgWheel, 60, 35);
    away.first = 120;
    program.onMouse(away);
    program.onMouse(away);
    EXPECT_EQ(program.getValue(), 2);
}

class DrawnList : public ::testing::Test {
protected:
    DrawnList() {
        page = f.manager.addChild(std::make_unique<Recorder>());
        selector = page->addChild(std::make_unique<CCMenuSelector>(18, 56, 61, 106, 77));
        for (const char* name : {"Low", "Band", "High"})
            selector->addItem(name);
    }
    bool dispatchPress(int32_t x, int32_t y) {
        CCMouseMsg probe = mouseAt(kMsgPressProbe, x, y);
        if (!f.manager.dispatch(probe) || !probe.target) return false;
        CCMouseMsg down = mouseAt(kMsgLeftDown, x, y);
        return f.manager.dispatch(down);
    }

    ManagerFixture f;
    Recorder* page;
    CCMenuSelector* selector;
};

TEST_F(DrawnList, PressOpensTheListAndARowChoosesIt) {
    EXPECT_EQ(selector->getMaximum(), 2);
    EXPECT_EQ(selector->getText(), "Low");
    ASSERT_TRUE(dispatchPress(60, 65));
    CCPopupList* list = selector->getOpenList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(f.manager.modalPanel(), list);
    EXPECT_EQ(list->getBounds().top, 77) << "below the selector";
    const int32_t rowTwo = list->getBounds().top + 1 + 2 * CCPopupList::kRowHeight + 3;
    EXPECT_EQ(list->rowAt({60, rowTwo}), 2);

    ASSERT_TRUE(dispatchPress(60, rowTwo));
    EXPECT_EQ(f.manager.modalPanel(), nullptr);
    EXPECT_EQ(selector->getOpenList(), nullptr);
    EXPECT_EQ(selector->getValue(), 2);
    EXPECT_EQ(selector->getText(), "High");
    EXPECT_EQ(page->values(), (std::vector<int32_t>{2}));
}

TEST_F(DrawnList, PressOutsideClosesWithoutAChoice) {
    dispatchPress(60, 65);
    ASSERT_NE(selector->getOpenList(), nullptr);
    dispatchPress(400, 400);
    EXPECT_EQ(f.manager.modalPanel(), nullptr);
    EXPECT_EQ(selector->getValue(), 0);
    EXPECT_TRUE(page->changes.empty());
}

TEST_F(DrawnList, ListOpensAboveNearTheBottomAndWheelSteps) {
    CCMenuSelector* low = page->addChild(std::make_unique<CCMenuSelector>(19, 10, 460, 60, 476));
    low->addItem("a");
    low->addItem("b");
    ASSERT_TRUE(low->openList());
    EXPECT_EQ(low->getOpenList()->getBounds().bottom, 460);
    f.manager.showModal(nullptr);

    CCMouseMsg away = mouseAt(kMsgWheel, 60, 65);
    away.first = 120;
    selector->onMouse(away);
    selector->onMouse(away);
    selector->onMouse(away);
    EXPECT_EQ(selector->getValue(), 2);
}

} // namespace

namespace {

// One wheel notch away from the player raises every kind of control by one
// step, so the page turns the same way wherever the pointer is.
TEST(WheelDirection, AwayRaisesKnobsSelectorsAndRadios) {
    ToolkitSessionGuard session;
    CCPotControl knob(9, 0, 0, 32, 34, 0, 100, 0, 50);
    CCMenuSelector list(18, 0, 0, 90, 16);
    for (const char* item : {"a", "b", "c"})
        list.addItem(item);
    list.setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    CCMenuSelectorEx popup(22, 0, 0, 90, 16);
    for (int32_t v : {0, 2, 3})
        popup.menu().addItem("x", v);
    popup.setValue(2, Notify::no, Redraw::no, SelfOnly::yes);
    CCSimpleRadioButton positions(182, 0, 0, 60, 16);
    positions.addPosition(0, 0, 0, 2, {20, 16});
    positions.addPosition(30, 0, 0, 2, {20, 16});
    CControl* controls[] = {&knob, &list, &popup, &positions};
    const int32_t expected[] = {51, 2, 3, 1};
    for (size_t i = 0; i < 4; ++i) {
        const int32_t before = controls[i]->getValue();
        CCMouseMsg away = mouseAt(kMsgWheel, 5, 5);
        away.first = 120;
        EXPECT_TRUE(controls[i]->onMouse(away));
        EXPECT_EQ(controls[i]->getValue(), expected[i]) << i;
        CCMouseMsg toward = mouseAt(kMsgWheel, 5, 5);
        toward.first = -120;
        controls[i]->onMouse(toward);
        EXPECT_EQ(controls[i]->getValue(), before) << i;
    }
}

} // namespace
