#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "platform/headless/scripted_dialogs.h"
#include "platform/headless/scripted_popups.h"
#include "resources/resource_ids.h"
#include "resources/resources.h"
#include "toolkit/controls/list_box.h"
#include "toolkit/controls/list_box_item.h"
#include "toolkit/controls/multi_line_text_ctrl.h"
#include "toolkit/controls/pot_control.h"
#include "toolkit/controls/scroller.h"
#include "toolkit/controls/scrolling_panel.h"
#include "toolkit/controls/splash_screen.h"
#include "toolkit/controls/table_row_container.h"
#include "toolkit/controls/version.h"
#include "toolkit/controls/version_simple.h"
#include "toolkit/font.h"
#include "toolkit/version_text.h"

namespace {

// Everything a list reports to the page: selections (514) and edits (527).
class ListPage : public CCPageObject {
public:
    ListPage() : CCPageObject(0, 0, 640, 480) {}
    bool onMessage(CCMsg& msg) override {
        if (msg.code == kMsgValueChanged) selections.push_back(msg.second);
        if (msg.code == kMsgListItemChanged) edits.push_back({msg.first, msg.second});
        return msg.code == kMsgValueChanged || msg.code == kMsgListItemChanged;
    }
    std::vector<int32_t> selections;
    std::vector<std::pair<int32_t, int32_t>> edits;
};

bool dispatchPress(CCPageManager& m, int32_t x, int32_t y) {
    CCMouseMsg probe = mouseAt(kMsgPressProbe, x, y);
    if (!m.dispatch(probe) || !probe.target) return false;
    CCMouseMsg down = mouseAt(kMsgLeftDown, x, y);
    m.dispatch(down);
    CCMouseMsg up = mouseAt(kMsgLeftUp, x, y);
    m.dispatch(up);
    return true;
}

CCMouseMsg wheel(int32_t x, int32_t y, int32_t delta) {
    CCMouseMsg msg = mouseAt(kMsgWheel, x, y);
    msg.first = delta;
    return msg;
}

// A list of ten rows of 16 pixels at (10, 10)-(160, 100) with a scroller: the
// rows show in 88 pixels, starting at row 11.
class Lists : public ::testing::Test {
protected:
    Lists() {
        setProgramResources(&tovanProgramResources());
        previousDialogs = setDialogHost(&dialogs);
        previousBoxes = setEditBoxHost(&boxes);
        page = f.manager.addChild(std::make_unique<ListPage>());
        list = page->addChild(
            std::make_unique<CCListBox>(90, 10, 10, 160, 100, resid::kScrollTrack, resid::kScrollThumb));
        for (int32_t i = 0; i < 10; ++i)
            list->addItem("Row " + std::to_string(i), i != 3);
    }
    ~Lists() override {
        setEditBoxHost(previousBoxes);
        setDialogHost(previousDialogs);
        setProgramResources(nullptr);
    }
    static int32_t rowY(int32_t row) { return 11 + 16 * row + 8; }
    void pointerAt(int32_t x, int32_t y) {
        CCMouseMsg move = mouseAt(kMsgMouseMove, x, y);
        f.manager.dispatch(move);
    }
    bool pressDelete() {
        CCMsg key(kMsgKeyDown, CCListBox::kDeleteKey);
        return f.manager.dispatch(key);
    }

    ToolkitSessionGuard session;
    ScriptedDialogs dialogs;
    ScriptedEditBoxes boxes;
    DialogHost* previousDialogs = nullptr;
    EditBoxHost* previousBoxes = nullptr;
    ManagerFixture f;
    ListPage* page = nullptr;
    CCListBox* list = nullptr;
};

TEST_F(Lists, PressOnARowSelectsItAndReportsItsIndex) {
    EXPECT_EQ(list->getValue(), -1) << "nothing selected at first";
    EXPECT_EQ(list->getText(), "");
    // The row itself takes the press, through the list, its scroll area and rows.
    CCMouseMsg probe = mouseAt(kMsgPressProbe, 50, rowY(2));
    f.manager.dispatch(probe);
    EXPECT_EQ(probe.target, list->item(2));
    ASSERT_TRUE(dispatchPress(f.manager, 50, rowY(2)));
    EXPECT_EQ(list->getValue(), 2);
    EXPECT_EQ(list->getText(), "Row 2");
    EXPECT_TRUE(list->item(2)->isSelected());
    dispatchPress(f.manager, 50, rowY(4));
    EXPECT_FALSE(list->item(2)->isSelected()) << "one row at a time";
    dispatchPress(f.manager, 50, rowY(4));
    EXPECT_EQ(page->selections, (std::vector<int32_t>{2, 4}));
}

TEST_F(Lists, EditedRowIsReportedWithTheListsTagAndTheRow) {
    boxes.typeNext("Fat wah", EditEnding::Return);
    CCMouseMsg twice = mouseAt(kMsgLeftDoubleClick, 50, rowY(1));
    f.manager.dispatch(twice);
    EXPECT_TRUE(list->item(1)->isEditing());
    EXPECT_EQ(boxes.requests.at(0).text, "Row 1");
    EXPECT_EQ(boxes.runPending(), 1);
    EXPECT_EQ(list->item(1)->getText(), "Fat wah");
    EXPECT_EQ(page->edits, (std::vector<std::pair<int32_t, int32_t>>{{90, 1}}));
    EXPECT_EQ(list->getValue(), 1) << "the double-click selected it too";

    // Escape, or the same text again, changes and reports nothing.
    boxes.typeNext("Other", EditEnding::Escape);
    list->item(1)->beginEdit();
    boxes.runPending();
    boxes.typeNext("Fat wah", EditEnding::Return);
    list->item(1)->beginEdit();
    boxes.runPending();
    EXPECT_EQ(page->edits.size(), 1u);
}

TEST_F(Lists, DeleteKeyAsksAndDeletesOnlyWhatMayBeDeleted) {
    dispatchPress(f.manager, 50, rowY(2));
    pressDelete();
    EXPECT_TRUE(dialogs.shown.empty()) << "the key counts only while the pointer is over the list";
    pointerAt(50, rowY(2));
    dialogs.answerNext(MessageAnswer::No);
    pressDelete();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Are you sure you want to delete ?");
    EXPECT_EQ(list->itemCount(), 10);

    dialogs.answerNext(MessageAnswer::Yes);
    EXPECT_TRUE(pressDelete());
    EXPECT_EQ(list->itemCount(), 9);
    EXPECT_EQ(list->item(2)->getText(), "Row 3") << "the rows below close up";
    EXPECT_EQ(list->item(2)->getBounds().top, 11 + 32);
    EXPECT_EQ(list->getValue(), -1);

    // Row 3 ("Row 3", now at index 2) may not be deleted: no question.
    dispatchPress(f.manager, 50, rowY(2));
    EXPECT_FALSE(list->deleteSelected());
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST_F(Lists, WheelAndScrollerMoveTheRowsAndHiddenRowsTakeNoPresses) {
    CCScrollingPanel* area = list->scrollArea();
    ASSERT_NE(list->scrollBar(), nullptr);
    EXPECT_EQ(area->getMaximum(), 160 - 88);
    CCMouseMsg down = wheel(50, rowY(1), -120);
    EXPECT_TRUE(f.manager.dispatch(down));
    EXPECT_EQ(area->getValue(), 16) << "one row a notch";
    EXPECT_EQ(list->item(0)->getBounds().top, 11 - 16);
    EXPECT_EQ(list->scrollBar()->getValue(), 16) << "the scroller follows";

    // Row 0 now lies above the list, where a press must not find it.
    CCMouseMsg above = mouseAt(kMsgPressProbe, 50, 5);
    f.manager.dispatch(above);
    EXPECT_EQ(above.target, nullptr);
    dispatchPress(f.manager, 50, rowY(0));
    EXPECT_EQ(list->getValue(), 1) << "what shows at the top is row 1";

    // Dragging the thumb moves the rows: the thumb is 88 * 88 / 160 = 48 long,
    // so its 40 free pixels stand for 72 pixels of rows.
    CCScroller* bar = list->scrollBar();
    const CCRect thumb = bar->thumbRect();
    EXPECT_EQ(thumb.height(), 48);
    CCMouseMsg grab = mouseAt(kMsgLeftDown, 155, thumb.top + 5);
    f.manager.dispatch(grab);
    CCMouseMsg drag = mouseAt(kMsgMouseMove, 155, thumb.top + 5 + 20);
    f.manager.dispatch(drag);
    EXPECT_EQ(bar->getValue(), 16 + 36);
    EXPECT_EQ(area->getValue(), 52);
    CCMouseMsg letGo = mouseAt(kMsgLeftUp, 155, thumb.top + 25);
    f.manager.dispatch(letGo);

    // Wheel away from the player goes back toward the top; never past it.
    for (int32_t i = 0; i < 6; ++i) {
        CCMouseMsg up = wheel(50, 50, 120);
        f.manager.dispatch(up);
    }
    EXPECT_EQ(area->getValue(), 0);
    EXPECT_EQ(list->item(0)->getBounds().top, 11);
}

TEST_F(Lists, SelectingARowOutOfSightScrollsItIntoView) {
    list->setValue(9, Notify::yes, Redraw::yes, SelfOnly::no);
    EXPECT_EQ(list->scrollArea()->getValue(), 160 - 88);
    const CCRect row = list->item(9)->getBounds();
    EXPECT_EQ(row.bottom, 99);
    list->setValue(0, Notify::yes, Redraw::yes, SelfOnly::no);
    EXPECT_EQ(list->scrollArea()->getValue(), 0);
}

TEST(Scrolling, PanelMeasuresItsChildrenAndShiftsThem) {
    ManagerFixture f;
    auto* panel = f.manager.addChild(std::make_unique<CCScrollingPanel>(kTagNone, 100, 100, 200, 150));
    auto* top = panel->addChild(std::make_unique<CCPotControl>(1, 0, 0, 32, 34, 0, 100, 0, 0));
    auto* low = panel->addChild(std::make_unique<CCPotControl>(2, 0, 100, 32, 134, 0, 100, 0, 0));
    EXPECT_EQ(panel->contentHeight(), 134);
    EXPECT_EQ(panel->getMaximum(), 84);
    panel->setValue(30, Notify::no, Redraw::yes, SelfOnly::no);
    EXPECT_EQ(top->getBounds().top, 70);
    EXPECT_EQ(low->getBounds().top, 170);
    // A child added while scrolled joins the others where they are.
    auto* late = panel->addChild(std::make_unique<CCPotControl>(3, 40, 0, 72, 34, 0, 100, 0, 0));
    EXPECT_EQ(late->getBounds().top, 70);
    // The wheel over a knob turns the knob; over the gap it scrolls.
    CCMouseMsg overKnob = wheel(110, 102, 120);
    f.manager.dispatch(overKnob);
    EXPECT_EQ(top->getValue(), 1);
    CCMouseMsg overHidden = wheel(110, 175, 120);
    EXPECT_FALSE(f.manager.dispatch(overHidden)) << "the lower knob is scrolled out of sight";
    EXPECT_EQ(low->getValue(), 0);
    EXPECT_EQ(panel->getValue(), 30);
    CCMouseMsg overGap = wheel(180, 120, -120);
    f.manager.dispatch(overGap);
    EXPECT_EQ(panel->getValue(), 46);
    CCMouseMsg outside = wheel(180, 300, -120);
    EXPECT_FALSE(f.manager.dispatch(outside));
    // A fixed height wins over the children's.
    panel->setContentHeight(60);
    EXPECT_EQ(panel->getMaximum(), 10);
    EXPECT_EQ(panel->getValue(), 10);
    EXPECT_EQ(top->getBounds().top, 90);
}

TEST(Scrolling, ScrollerPagesBesideTheThumbAndReportsToItsPanel) {
    Recorder rec;
    CCScroller bar(kTagNone, 0, 0, 10, 100, 0, 0, &rec);
    bar.setPage(50, 200);
    EXPECT_EQ(bar.getMaximum(), 150);
    EXPECT_EQ(bar.thumbRect(), (CCRect{0, 0, 10, 25}));
    CCMouseMsg below = mouseAt(kMsgLeftDown, 5, 80);
    bar.onMouse(below);
    EXPECT_EQ(bar.getValue(), 50) << "a page on";
    EXPECT_EQ(bar.thumbRect().top, 25);
    CCMouseMsg above = mouseAt(kMsgLeftDown, 5, 2);
    bar.onMouse(above);
    EXPECT_EQ(bar.getValue(), 0);
    bar.setPage(100, 80);
    EXPECT_EQ(bar.getMaximum(), 0) << "everything shows: nothing to scroll";
    EXPECT_EQ(rec.values(), (std::vector<int32_t>{50, 0}));
}

TEST(Scrolling, PanelAndScrollerOutliveEachOther) {
    ManagerFixture f;
    auto* panel = f.manager.addChild(std::make_unique<CCScrollingPanel>(kTagNone, 0, 0, 100, 50));
    panel->addChild(std::make_unique<CCPotControl>(1, 0, 100, 32, 134, 0, 100, 0, 0));
    auto* bar = f.manager.addChild(std::make_unique<CCScroller>(kTagNone, 100, 0, 110, 50, 0, 0));
    panel->attachScroller(bar);
    EXPECT_EQ(bar->getListener(), panel);
    f.manager.removeChild(bar).reset();
    panel->setValue(20, Notify::yes, Redraw::yes,
                    SelfOnly::no); // would reach the scroller if it were still linked
    EXPECT_EQ(panel->getValue(), 20);

    auto* second = f.manager.addChild(std::make_unique<CCScroller>(kTagNone, 100, 0, 110, 50, 0, 0));
    panel->attachScroller(second);
    EXPECT_EQ(second->getValue(), 20);
    f.manager.removeChild(panel).reset();
    EXPECT_EQ(second->getListener(), nullptr);
    CCMouseMsg press = mouseAt(kMsgLeftDown, 105, 45);
    second->onMouse(press); // pages on without a panel to tell
    EXPECT_EQ(second->getValue(), 70);
}

TEST(Rows, ContainerStacksRowsAndClosesGaps) {
    CCTableRowContainer rows(kTagNone, 0, 0, 100, 20, 10);
    for (int32_t i = 0; i < 4; ++i)
        rows.addRow(std::make_unique<CCListBoxItem>(kTagNone, 0, 0, 1, 1, std::to_string(i)));
    EXPECT_EQ(rows.getBounds().height(), 40) << "grown to fit";
    EXPECT_EQ(rows.row(3)->getBounds(), (CCRect{0, 30, 100, 40}));
    std::unique_ptr<CControl> gone = rows.removeRow(1);
    ASSERT_NE(gone, nullptr);
    EXPECT_EQ(gone->getText(), "1");
    EXPECT_EQ(rows.row(1)->getText(), "2");
    EXPECT_EQ(rows.row(1)->getBounds().top, 10);
    EXPECT_EQ(rows.getBounds().height(), 30);
    EXPECT_EQ(rows.removeRow(7), nullptr);
}

TEST(Texts, MultiLineTextBreaksAtNewlinesAndBetweenWords) {
    setProgramResources(&tovanProgramResources());
    ToolkitSessionGuard session;
    CCFontInterface* font = getFont();
    ASSERT_NE(font, nullptr);
    const int32_t width = font->textWidth("one two") + 4;
    CCMultiLineTextCtrl lines(kTagNone, 0, 0, width, 60, "one two three\n\nfour");
    lines.setFont(font);
    EXPECT_EQ(lines.layoutLines(), (std::vector<std::string>{"one two", "three", "", "four"}));
    lines.setText("averyveryverylongword x");
    EXPECT_EQ(lines.layoutLines(), (std::vector<std::string>{"averyveryverylongword", "x"}));
    setProgramResources(nullptr);
}

TEST(Texts, VersionsInTheProgramsAndThePedalsStyle) {
    CCVersion program(0, 0, 100, 12, versionWord(1, 5, 0, 3), {.beta = true, .demo = true});
    EXPECT_EQ(program.text(), "Version 1.5.0.3 BETA Demo");
    CCVersionSimple pedal(0, 0, 100, 12, versionWord(1, 5, 0, 0));
    EXPECT_EQ(pedal.text(), "1.50");
}

TEST(Splash, AnyPressClosesIt) {
    ManagerFixture f;
    auto owned = std::make_unique<CCSplashScreen>(100, 100, 340, 220, 0);
    f.manager.showModal(std::move(owned));
    CCMouseMsg probe = mouseAt(kMsgPressProbe, 10, 10);
    EXPECT_TRUE(f.manager.dispatch(probe));
    CCMouseMsg inside = mouseAt(kMsgLeftDown, 200, 150);
    f.manager.dispatch(inside);
    EXPECT_EQ(f.manager.modalPanel(), nullptr);
}

} // namespace
