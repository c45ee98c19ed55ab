#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/scripted_popups.h"
#include "toolkit/controls/pot_control.h"
#include "toolkit/controls/static_text_ctrl.h"
#include "toolkit/controls/text_ctrl.h"

namespace {

class EditBoxes : public ::testing::Test {
protected:
    EditBoxes() : window(640, 480, {1000, 500}) {
        previous = setEditBoxHost(&boxes);
        params.add(15, 0, 100, 40);
        params.add(9, 0, 100, 10);
        f.manager.attachWindow(&window, nullptr, &params);
        page = f.manager.addChild(std::make_unique<Recorder>());
        field = page->addChild(std::make_unique<CCTextCtrl>(15, 56, 18, 96, 32, 0, nullptr, 0, true));
    }
    ~EditBoxes() override { setEditBoxHost(previous); }

    void pressField(CControl& c) {
        CCMouseMsg down = mouseAt(kMsgLeftDown, c.getBounds().left + 2, c.getBounds().top + 2);
        f.manager.dispatch(down);
    }

    ScriptedEditBoxes boxes;
    EditBoxHost* previous = nullptr;
    FakeParameters params;
    HeadlessWindow window;
    ManagerFixture f;
    Recorder* page;
    CCTextCtrl* field;
};

TEST_F(EditBoxes, ReturnCommitsTheTypedValue) {
    field->setText("40");
    boxes.typeNext(" 55\t", EditEnding::Return);
    pressField(*field);
    ASSERT_EQ(boxes.requests.size(), 1u);
    const EditBoxRequest& r = boxes.requests[0];
    EXPECT_EQ(r.x, 1056);
    EXPECT_EQ(r.y, 518);
    EXPECT_EQ(r.width, 40);
    EXPECT_EQ(r.height, 17) << "a field 14 high gets a box 17 high";
    EXPECT_EQ(r.text, "40");
    EXPECT_EQ(r.fontName, "Arial");
    EXPECT_TRUE(field->isEditing());
    EXPECT_EQ(f.manager.popupEditObject(), field);

    EXPECT_EQ(boxes.runPending(), 1);
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(boxes.openCount(), 0);
    EXPECT_EQ(f.manager.popupEditObject(), nullptr);
    EXPECT_EQ(field->getValue(), 55);
    ASSERT_EQ(page->changes.size(), 1u);
    EXPECT_EQ(page->changes[0].tag, 15);
    EXPECT_EQ(page->changes[0].value, 55);
}

TEST_F(EditBoxes, SpacesOnlyAndEscapeCommitNothing) {
    boxes.typeNext("    ", EditEnding::Return);
    pressField(*field);
    boxes.runPending();
    boxes.typeNext("77", EditEnding::Escape);
    pressField(*field);
    boxes.runPending();
    EXPECT_EQ(boxes.requests.size(), 2u);
    EXPECT_FALSE(field->isEditing());
    EXPECT_TRUE(page->changes.empty());
}

TEST_F(EditBoxes, LosingTheFocusCommitsOnce) {
    pressField(*field);
    HeadlessEditBox* box = boxes.current();
    ASSERT_NE(box, nullptr);
    box->type("12");
    box->loseFocus();
    EXPECT_EQ(boxes.openCount(), 0);
    EXPECT_EQ(field->getValue(), 12);
    EXPECT_EQ(page->changes.size(), 1u);
}

TEST_F(EditBoxes, OpeningAnotherBoxCommitsTheFirst) {
    CCTextCtrl* other =
        page->addChild(std::make_unique<CCTextCtrl>(9, 206, 18, 246, 32, 0, nullptr, 0, true));
    pressField(*field);
    boxes.current()->type("33");
    pressField(*other);
    EXPECT_FALSE(field->isEditing());
    EXPECT_TRUE(other->isEditing());
    EXPECT_EQ(boxes.openCount(), 1);
    EXPECT_EQ(field->getValue(), 33);
    EXPECT_EQ(f.manager.popupEditObject(), other);
}

TEST_F(EditBoxes, LinkedFieldHandsTheTextToItsKnob) {
    CCPotControl* pot = page->addChild(std::make_unique<CCPotControl>(9, 300, 20, 332, 54, 0, 100, 0, 10));
    CCTextCtrl* value =
        page->addChild(std::make_unique<CCTextCtrl>(kTagNone, 301, 54, 333, 66, 0, nullptr, 0, true));
    pot->setLinkedText(value);
    EXPECT_EQ(value->getShownText(), "10");
    boxes.typeNext("64", EditEnding::Return);
    pressField(*value);
    boxes.runPending();
    EXPECT_EQ(pot->getValue(), 64);
    ASSERT_EQ(page->changes.size(), 1u);
    EXPECT_EQ(page->changes[0].tag, 9);

    struct Formatter : CCPotControl {
        using CCPotControl::CCPotControl;
        void textEntered(int32_t tag, std::string_view text) override {
            entered.emplace_back(std::to_string(tag) + ":" + std::string(text));
        }
        std::vector<std::string> entered;
    };
    Formatter* own = page->addChild(std::make_unique<Formatter>(9, 400, 20, 432, 54, 0, 100, 0, 10));
    own->setFormatsOwnText(true);
    CCTextCtrl* ownText =
        page->addChild(std::make_unique<CCTextCtrl>(kTagNone, 401, 54, 433, 66, 0, nullptr, 0, true));
    own->setLinkedText(ownText);
    boxes.typeNext("1/4", EditEnding::Return);
    pressField(*ownText);
    boxes.runPending();
    EXPECT_EQ(own->entered, (std::vector<std::string>{"9:1/4"}));
}

TEST_F(EditBoxes, FailedBoxAndDestroyedFieldLeaveNothingBehind) {
    boxes.failNext();
    field->setText("40");
    pressField(*field);
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(field->getShownText(), "40");

    pressField(*field);
    ASSERT_TRUE(field->isEditing());
    page->removeChild(field).reset();
    EXPECT_EQ(boxes.openCount(), 0);
    EXPECT_EQ(f.manager.popupEditObject(), nullptr);
    EXPECT_TRUE(page->changes.empty()) << "a field going away does not commit";
}

TEST(EditText, ControlCharactersBecomeSpacesAndEndsAreTrimmed) {
    EXPECT_EQ(CCTextCtrl::cleanEnteredText("  a\tb\nc \x01 "), "a b c");
    EXPECT_EQ(CCTextCtrl::cleanEnteredText("\r\n\t "), "");
    EXPECT_EQ(CCTextCtrl::cleanEnteredText(std::string(300, 'x')).size(), 127u);
    EXPECT_EQ(CCTextCtrl::cleanEnteredText("caf\xE9"), "caf\xE9") << "8-bit letters stay";
}

TEST(EditText, ValuesFromOutsideUpdateABoundField) {
    FakeParameters params;
    params.add(23, 0, 200, 0, " Hz");
    ManagerFixture f;
    f.manager.setEffect(&params);
    CCTextCtrl* rate = f.manager.addChild(std::make_unique<CCTextCtrl>(23, 0, 0, 50, 14));
    EXPECT_EQ(rate->getMaximum(), 200);
    params.params[23].value = 150;
    CCMsg set(kMsgSetValue, 23, 150, 0.75f);
    EXPECT_TRUE(rate->onMessage(set));
    EXPECT_EQ(rate->getShownText(), "150 Hz");

    CCStaticTextCtrl caption(175, 0, 0, 100, 14, "Export Preset");
    CCMsg other(kMsgSetValue, 175, 1, 1.0f);
    EXPECT_FALSE(caption.onMessage(other));
    EXPECT_EQ(caption.getText(), "Export Preset");
    CCVersionTextCtrl version(175, 0, 0, 100, 14);
    version.setVersionWord(0x01500003);
    EXPECT_EQ(version.getText(), "1.50beta03");
}

} // namespace
