#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/pot_control.h"
#include "toolkit/controls/text_ctrl.h"
#include "toolkit/preference_manager.h"

namespace {

std::unique_ptr<CControl> control(int32_t tag, int32_t lo, int32_t hi, int32_t v = 0,
                                  CCPageObject* listener = nullptr) {
    return std::make_unique<CControl>(tag, 0, 0, 10, 10, lo, hi, v, listener);
}

TEST(ControlRange, CrossingZeroIsSymmetricAndOtherwiseTheSpan) {
    EXPECT_EQ(control(1, -12, 12)->getRange(), 24);
    auto c = control(1, -10, 50);
    EXPECT_EQ(c->getRange(), 100);
    EXPECT_FLOAT_EQ(c->toNormalised(50), 0.6f);
    EXPECT_FLOAT_EQ(c->toNormalised(-10), 0.0f);
    EXPECT_EQ(control(1, 0, 100)->getRange(), 100);
    EXPECT_EQ(control(1, 20, 30)->getRange(), 10);
    EXPECT_EQ(control(1, 5, 5)->getRange(), 1);
    c->setRange(-50, 50);
    EXPECT_EQ(c->getRange(), 100);
    EXPECT_FLOAT_EQ(c->toNormalised(0), 0.5f);
}

TEST(ControlRange, FromNormalisedRoundsHalvesTowardZero) {
    auto c = control(1, 0, 100);
    EXPECT_EQ(c->fromNormalised(0.506f), 51);
    EXPECT_EQ(c->fromNormalised(0.504f), 50);
    EXPECT_EQ(c->fromNormalised(0.996f), 100);
    EXPECT_EQ(c->fromNormalised(0.0f), 0);
    auto odd = control(1, 0, 3);
    EXPECT_EQ(odd->fromNormalised(0.5f), 1); // 1.5 truncates
    auto negative = control(1, -50, 50);
    EXPECT_EQ(negative->fromNormalised(0.004f), -50);
    EXPECT_EQ(negative->fromNormalised(-0.004f), -50); // -0.4 truncates toward zero
    EXPECT_EQ(negative->fromNormalised(-0.006f), -51); // -0.6 rounds down
    // Every value survives a round trip through its normalised form.
    for (int32_t v = -50; v <= 50; ++v)
        ASSERT_EQ(negative->fromNormalised(negative->toNormalised(v)), v);
    negative->setFloatMode(true);
    EXPECT_EQ(negative->fromNormalised(3.7f), 3);
    EXPECT_FLOAT_EQ(negative->toNormalised(7), 7.0f);
}

TEST(ControlValue, ClampsOrWrapsAndNotifiesOnlyChanges) {
    Recorder rec;
    auto c = control(3, 0, 10, 10, &rec);
    c->setValue(11, Notify::yes, Redraw::no, SelfOnly::yes);
    EXPECT_EQ(c->getValue(), 10);
    EXPECT_TRUE(rec.changes.empty()) << "clamped onto the same value: nothing to report";
    c->setValue(-4, Notify::yes, Redraw::no, SelfOnly::yes);
    EXPECT_EQ(c->getValue(), 0);
    c->setValue(0, Notify::yes, Redraw::no, SelfOnly::yes);
    ASSERT_EQ(rec.changes.size(), 1u);
    EXPECT_EQ(rec.changes[0].tag, 3);
    EXPECT_EQ(rec.changes[0].value, 0);
    EXPECT_EQ(rec.changes[0].control, c.get());

    c->setValueForced(0, Notify::yes, Redraw::no, SelfOnly::yes);
    EXPECT_EQ(rec.changes.size(), 2u) << "forced sends an unchanged value again";
    c->setValue(6, Notify::no, Redraw::no, SelfOnly::yes);
    EXPECT_EQ(c->getValue(), 6);
    EXPECT_EQ(rec.changes.size(), 2u) << "no notification asked for";
    c->resendValue(Notify::yes, Redraw::no, SelfOnly::yes);
    EXPECT_EQ(rec.changes.back().value, 6);
    EXPECT_FLOAT_EQ(rec.changes.back().normalised, 0.6f);

    rec.changes.clear();
    c->setWrap(true);
    c->setValue(10, Notify::no, Redraw::no, SelfOnly::yes);
    c->setValue(11, Notify::yes, Redraw::no, SelfOnly::yes);
    EXPECT_EQ(c->getValue(), 0);
    c->setValue(-1, Notify::yes, Redraw::no, SelfOnly::yes);
    EXPECT_EQ(c->getValue(), 10);
    EXPECT_EQ(rec.values(), (std::vector<int32_t>{0, 10}));
}

TEST(ControlValue, NotificationGoesUpTheListenerChainOrToTheAncestors) {
    Recorder top;
    CCPageObject middle; // does not handle 514
    middle.setListener(&top);
    auto c = control(8, 0, 5, 0, &middle);
    c->setValue(2, Notify::yes, Redraw::no, SelfOnly::yes);
    ASSERT_EQ(top.changes.size(), 1u);

    Recorder parent;
    CControl* child = parent.addChild(control(9, 0, 5));
    child->setValue(4, Notify::yes, Redraw::no, SelfOnly::yes);
    ASSERT_EQ(parent.changes.size(), 1u);
    EXPECT_EQ(parent.changes[0].tag, 9);
}

TEST(ControlMessages, SetValueByTagFromOutside) {
    Recorder rec;
    auto c = control(12, 0, 100, 0, &rec);

    CCMsg other(kMsgSetValue, 13, 40, 0.4f);
    EXPECT_FALSE(c->onMessage(other));
    CCMsg zero(kMsgSetValue, 0, 40, 0.4f);
    EXPECT_FALSE(c->onMessage(zero)) << "a 513 for parameter 0 is not for tag 12";
    EXPECT_EQ(c->getValue(), 0);

    CCMsg set(kMsgSetValue, 12, 40, 0.4f);
    EXPECT_TRUE(c->onMessage(set));
    EXPECT_EQ(c->getValue(), 40);
    EXPECT_TRUE(rec.changes.empty()) << "values from outside are not echoed by default";

    c->setEchoExternal(true);
    CCMsg echo(kMsgSetValue, 12, 41, 0.41f);
    c->onMessage(echo);
    ASSERT_EQ(rec.changes.size(), 1u);
    EXPECT_EQ(rec.changes[0].value, 41);

    CCMsg forced(kMsgSetValue, 12, 41, 0.41f);
    forced.forced = 1;
    c->onMessage(forced);
    EXPECT_EQ(rec.changes.size(), 1u) << "a forced set never notifies";

    CCMsg disable(kMsgSetValue, 12, 41, 0.41f);
    disable.disable = 1;
    c->onMessage(disable);
    EXPECT_FALSE(c->isEnabled());
    CCMsg enable(kMsgEnableByTag, 12, 1);
    EXPECT_TRUE(c->onMessage(enable));
    EXPECT_TRUE(c->isEnabled());

    auto untagged = control(kTagNone, 0, 10);
    CCMsg none(kMsgSetValue, kTagNone, 5, 0.5f);
    none.disable = 1;
    untagged->onMessage(none);
    EXPECT_TRUE(untagged->isEnabled()) << "tag 4096 never changes its enable state";
    EXPECT_EQ(untagged->getValue(), 5);
}

TEST(ControlMessages, GroupSelectorSwitchesItsParentsGroup) {
    CCPanel panel(kTagNone, 0, 0, 200, 100);
    CCPageObject* pages[4];
    for (int i = 0; i < 4; ++i)
        pages[i] = panel.addChild(
            std::make_unique<CCPanel>(kTagNone, 0, 20, 200, 100, 0, nullptr, uint16_t(1 << i)));
    CControl* selector = panel.addChild(control(20, 0, 3));
    selector->setGroupSelector(1, true);
    selector->setValue(2, Notify::no, Redraw::yes, SelfOnly::no);
    EXPECT_EQ(panel.getGroupValue(), 4);
    EXPECT_FALSE(pages[0]->isShown());
    EXPECT_TRUE(pages[2]->isShown());

    // 530 switches the children of the control with that tag.
    CCMsg sw(kMsgGroupSwitch, 8, kTagNone);
    EXPECT_TRUE(panel.onMessage(sw));
    EXPECT_TRUE(pages[3]->isShown());
    EXPECT_FALSE(pages[2]->isShown());
}

class BoundControls : public ::testing::Test {
protected:
    BoundControls() {
        params.add(9, 0, 100, 25, " %");
        params.add(15, -10, 50, 0);
        fixture.manager.setEffect(&params);
        page = fixture.manager.addChild(std::make_unique<Recorder>());
    }
    ToolkitSessionGuard session;
    FakeParameters params;
    ManagerFixture fixture;
    Recorder* page;
};

TEST_F(BoundControls, LinkedTextFollowsTheParameterText) {
    CCPotControl* pot = page->addChild(std::make_unique<CCPotControl>(9, 10, 10, 42, 44, 0, 100, 0, 25));
    CCTextCtrl* text = page->addChild(std::make_unique<CCTextCtrl>(kTagNone, 10, 44, 42, 56));
    EXPECT_EQ(params.views[9], pot);
    pot->setLinkedText(text);
    EXPECT_EQ(text->getOwner(), pot);
    EXPECT_EQ(text->getShownText(), "25 %");
    // The application stores the value when it hears the 514; the text follows.
    params.params[9].value = 60;
    pot->setValue(60, Notify::yes, Redraw::no, SelfOnly::yes);
    EXPECT_EQ(text->getShownText(), "60 %");

    // A field goes away before its knob: the knob forgets it.
    page->removeChild(text).reset();
    EXPECT_EQ(pot->getLinkedText(), nullptr);
    pot->setValue(61, Notify::yes, Redraw::no, SelfOnly::yes);
}

TEST_F(BoundControls, TextGoesThroughTheParameterOrIsTakenAsTheValue) {
    CControl* c = page->addChild(control(15, -10, 50));
    EXPECT_TRUE(c->setValueFromText(15, "30", true));
    EXPECT_EQ(c->getValue(), 30);
    ASSERT_EQ(page->changes.size(), 1u);
    EXPECT_FALSE(c->setValueFromText(15, "loud", true));
    EXPECT_EQ(c->getValue(), 30);

    CControl* pref = page->addChild(control(177, 0, 2));
    EXPECT_TRUE(pref->setValueFromText(177, " 2", true));
    EXPECT_EQ(pref->getValue(), 2) << "a plain number is the value itself";

    CControl* real = page->addChild(control(190, 0, 0));
    EXPECT_TRUE(real->setValueFromText(190, "2.75", false));
    EXPECT_TRUE(real->isFloatMode());
    EXPECT_FLOAT_EQ(page->changes.back().normalised, 2.75f);
    EXPECT_EQ(real->getValue(), 2);
    real->setValue(5, Notify::yes, Redraw::no, SelfOnly::yes);
    EXPECT_FLOAT_EQ(page->changes.back().normalised, 5.0f) << "not the earlier typed number";
}

TEST_F(BoundControls, ControlWithoutRangeTakesItsParameters) {
    CControl* c = page->addChild(control(15, 0, 0));
    EXPECT_EQ(c->getMinimum(), -10);
    EXPECT_EQ(c->getMaximum(), 50);
}

class Prefs : public CCPreferenceManager {
public:
    Prefs() : CCPreferenceManager("SOFTWARE\\Plavik\\Tovan\\1.00") {}
    void createPreferences() override {
        addPreference(std::make_unique<CCIntPreference>(177, "PotMode", this, 1));
        addPreference(std::make_unique<CCFloatPreference>(179, "Level", this, 0.25f));
    }
};

TEST_F(BoundControls, UpdateFromParameterReadsParameterOrPreference) {
    CControl* c = page->addChild(control(9, 0, 100));
    c->updateFromParameter();
    EXPECT_EQ(c->getValue(), 25);
    params.params[9].value = 70;
    c->onDoubleClick({});
    EXPECT_EQ(c->getValue(), 70);

    Prefs prefs;
    prefs.createPreferences();
    setControlPreferences(&prefs);
    CControl* mode = page->addChild(control(177, 0, 2));
    mode->updateFromParameter();
    EXPECT_EQ(mode->getValue(), 1);
    CControl* level = page->addChild(control(179, 0, 100));
    level->updateFromParameter();
    EXPECT_EQ(level->getValue(), 25);
    CControl* unknown = page->addChild(control(180, 0, 100, 7));
    unknown->updateFromParameter();
    EXPECT_EQ(unknown->getValue(), 7);
    setControlPreferences(nullptr);
}

} // namespace
