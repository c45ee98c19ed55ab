// The main page's rules, through real controls and messages, bound to the link
// on a simulated pedal.
#include "editor/editor_tags.h"
#include "editor/lfo_waveform.h"
#include "editor/tovan_filter_ctrl.h"
#include "main_page_support.h"
#include "model/pedal_parameters.h"
#include "model/pedal_values.h"
#include "toolkit/controls/static_text_ctrl.h"

using namespace tovan;
using namespace ptag;

namespace {

std::string presetText(CBackPage& page) {
    return static_cast<CCStaticTextCtrl*>(page.object(Role::PresetNumber))->getText();
}

void deliver(CCPageObject& page, int32_t tag, int32_t value) {
    CCMsg msg(kMsgValueChanged, tag, value);
    page.onMessage(msg);
}

TEST_F(MainPageTest, PresetNumberAndTheDeleteButtonFollowThePreset) {
    auto* remove = control(etag::kDeletePreset);
    const std::pair<int32_t, const char*> shown[] = {
        {0, "F00"}, {99, "F99"}, {100, "P00"}, {199, "P99"}, {-3, "F00"}};
    for (const auto& [preset, text] : shown) {
        deliver(*page, kCurrentPreset, preset);
        EXPECT_EQ(presetText(*page), text) << preset;
        EXPECT_EQ(remove->isEnabled(), preset >= 100) << preset;
    }
    deliver(*page, kCurrentPreset, 150);
    page->setBusy(true);
    EXPECT_FALSE(remove->isEnabled()) << "never while busy";
    EXPECT_TRUE(page->object(Role::BusyOverlay)->isVisible());
    EXPECT_FALSE(control(kHeelHeight)->isEnabled());
    EXPECT_TRUE(control(etag::kTabSelector)->isEnabled()) << "the tabs stay usable";
    page->setBusy(false);
    EXPECT_TRUE(remove->isEnabled());
    EXPECT_TRUE(control(kHeelHeight)->isEnabled());
}

TEST_F(MainPageTest, ThePresetNumberFollowsThePedal) {
    pedal().stepPreset(true);
    process->session().pollStatus();
    EXPECT_EQ(presetText(*page), "F01");
    process->presets().select(142);
    EXPECT_EQ(presetText(*page), "P42");
    EXPECT_TRUE(control(etag::kDeletePreset)->isEnabled());
}

TEST_F(MainPageTest, TrapezoidRiseAndFallShareOnePeriod) {
    turn(kTrapezoidFall, 40);
    turn(kTrapezoidRise, 80);
    EXPECT_EQ(valueOf(kTrapezoidFall), 20);
    EXPECT_EQ(page->lfoDisplay(0)->getRise(), 80);
    EXPECT_EQ(page->lfoDisplay(0)->getFall(), 20);
    EXPECT_EQ(pedal().value(7, 0, 9), 20) << "the fall that gave way reached the pedal";
    // Filter 2's pair is its own.
    turn(ofFilter(kTrapezoidRise, 1), 30);
    EXPECT_EQ(valueOf(kTrapezoidFall), 20);
    EXPECT_EQ(page->lfoDisplay(1)->getRise(), 30);
}

TEST_F(MainPageTest, LfoShapeAndTaperReachTheirDisplays) {
    turn(kLfoShape, 5);
    EXPECT_EQ(page->lfoDisplay(0)->getShape(), CLFOWaveform::kTrapezoid);
    turn(ofFilter(kLfoShape, 1), 6);
    EXPECT_EQ(page->lfoDisplay(1)->getShape(), CLFOWaveform::kRandom);
    turn(kTaperFilter1, 0); // "Lo 9": the slowest start
    EXPECT_EQ(page->filterDisplay()->curveTable(0), CTovanFilterCtrl::buildCurveTable(9));
    turn(kFilterBalance, 0);
    EXPECT_TRUE(page->filterDisplay()->isFilterShown(0));
    EXPECT_FALSE(page->filterDisplay()->isFilterShown(1));
}

class OrientationTest : public MainPageTest {
protected:
    void SetUp() override {
        MainPageTest::SetUp();
        turn(kFilterBalance, 50);
        turn(kHeelFrequency, 300);
        turn(kHeelHeight, 40);
        turn(ofFilter(kHeelFrequency, 1), 800);
        turn(ofFilter(kHeelHeight, 1), 70);
    }
};

TEST_F(OrientationTest, HeelOrientationExchangesTheFiltersHeelValuesAndBack) {
    turn(etag::kViewSwitch, CTovanFilterCtrl::kVowelChart);
    const int32_t before = page->filterDisplay()->getOrientation(0);
    turn(etag::kHeelOrientation, before ? 0 : 1);
    EXPECT_EQ(valueOf(kHeelFrequency), 800);
    EXPECT_EQ(valueOf(ofFilter(kHeelFrequency, 1)), 300);
    EXPECT_EQ(valueOf(kHeelHeight), 70);
    EXPECT_EQ(valueOf(ofFilter(kHeelHeight, 1)), 40);
    EXPECT_EQ(pedal().value(6, 0, 3), 800) << "the exchange is an edit: it reaches the pedal";
    EXPECT_EQ(pedal().value(6, 1, 3), 300);
    for (CCPageObject* p = page->findByTag(etag::kHeelOrientation); p; p = nullptr)
        EXPECT_EQ(static_cast<CControl*>(p)->getValue(), before ? 0 : 1);

    turn(etag::kHeelOrientation, before);
    EXPECT_EQ(valueOf(kHeelFrequency), 300);
    EXPECT_EQ(valueOf(ofFilter(kHeelFrequency, 1)), 800);
    EXPECT_EQ(valueOf(kHeelHeight), 40);
    EXPECT_EQ(valueOf(ofFilter(kHeelHeight, 1)), 70);
}

TEST_F(OrientationTest, ASwapButtonExchangesOneFiltersHeelAndToeOncePerClick) {
    turn(kToeFrequency, 2500);
    turn(kToeHeight, 90);
    auto* swap = control(etag::kSwapFilter1);
    swap->setValue(1, Notify::yes, Redraw::yes, SelfOnly::yes); // press
    swap->setValue(0, Notify::yes, Redraw::yes, SelfOnly::yes); // release
    EXPECT_EQ(valueOf(kHeelFrequency), 2500);
    EXPECT_EQ(valueOf(kToeFrequency), 300);
    EXPECT_EQ(valueOf(kHeelHeight), 90);
    EXPECT_EQ(valueOf(kToeHeight), 40);
    EXPECT_EQ(valueOf(ofFilter(kHeelFrequency, 1)), 800) << "filter 2 untouched";
    const CCValuePair heel = page->filterDisplay()->getPoint(CTovanFilterCtrl::kFilter1Heel);
    EXPECT_EQ(heel, (CCValuePair{2500, 90}));
}

TEST_F(OrientationTest, SwitchingChartsRebuildsEveryPointWithoutWriting) {
    backend.clear();
    turn(etag::kViewSwitch, CTovanFilterCtrl::kVowelChart);
    CTovanFilterCtrl& display = *page->filterDisplay();
    const CCValuePair heel = display.getPoint(CTovanFilterCtrl::kHeelVowel);
    const bool upper = display.getOrientation(0);
    EXPECT_EQ(heel, (upper ? CCValuePair{800, 300} : CCValuePair{300, 800}));
    EXPECT_TRUE(control(etag::kHeelOrientation)->isVisible());

    turn(etag::kViewSwitch, CTovanFilterCtrl::kSweepChart);
    EXPECT_EQ(display.getPoint(CTovanFilterCtrl::kFilter1Heel), (CCValuePair{300, 40}));
    EXPECT_EQ(display.getPoint(CTovanFilterCtrl::kFilter2Heel), (CCValuePair{800, 70}));
    EXPECT_FALSE(control(etag::kHeelOrientation)->isVisible());
    EXPECT_EQ(backend.writeCount(), 0u) << "the pedal already has these values";
}

TEST_F(MainPageTest, LfoControlsShowAsTheirSwitchesAndSyncSay) {
    auto shown = [&](int32_t tag) { return control(tag)->isVisible(); };
    turn(kSyncSource, 0);
    turn(kLfoGlide, 1);
    EXPECT_TRUE(shown(kLfoGlideTime));
    EXPECT_TRUE(shown(kLfoGlideDepth));
    turn(kSyncSource, kSyncMidi);
    EXPECT_FALSE(shown(kLfoGlideTime));
    EXPECT_TRUE(shown(kLfoGlideDepth)) << "MIDI sync keeps the glide depth";
    turn(kDualRate, 0);
    EXPECT_FALSE(shown(kRateMultiplier2));
    turn(kDualRate, 1);
    EXPECT_TRUE(shown(kRateMultiplier2));

    // Filter 2 on F1 sync follows filter 1's glide.
    turn(ofFilter(kSyncSource, 1), kSyncFilter1);
    turn(kSyncSource, 0);
    EXPECT_TRUE(shown(ofFilter(kLfoGlideTime, 1)));
    EXPECT_FALSE(shown(ofFilter(kLfoGlideDepth, 1)));
    EXPECT_TRUE(shown(ofFilter(kLfoDepth, 1)));
    turn(kLfoGlide, 0);
    EXPECT_FALSE(shown(ofFilter(kLfoGlideTime, 1)));
    // Its own glide once it runs on its own.
    turn(ofFilter(kSyncSource, 1), 0);
    turn(ofFilter(kLfoGlide, 1), 1);
    EXPECT_TRUE(shown(ofFilter(kLfoGlideTime, 1)));
    EXPECT_TRUE(shown(ofFilter(kLfoGlideDepth, 1)));
    EXPECT_FALSE(shown(ofFilter(kLfoDepth, 1)));

    // A knob's caption goes with it.
    int32_t captions = 0;
    page->visitDescendants([&](CCPageObject& o) {
        auto* text = dynamic_cast<CCStaticTextCtrl*>(&o);
        if (text != nullptr && text->getText() == "G.TIME" &&
            o.getParent() == control(kLfoGlideTime)->getParent()) {
            EXPECT_FALSE(o.isVisible() != shown(kLfoGlideTime));
            ++captions;
        }
        return false;
    });
    EXPECT_EQ(captions, 1);
}

TEST_F(MainPageTest, ControlModeShowsItsSubPanel) {
    turn(ptag::kControlMode, 2);
    EXPECT_TRUE(control(38)->isShown()) << "envelope knobs";
    EXPECT_FALSE(control(kLfoDepth)->isShown());
    EXPECT_TRUE(control(ofFilter(kControlSource, 1))->isShown()) << "filter 2 keeps its own mode";
}

TEST_F(MainPageTest, APollLightsTheLampsAndShowsTheLockWithoutWriting) {
    pedal().setLamps({.a = true, .b = true});
    pedal().setModeSwitch(true);
    ASSERT_TRUE(pedal().turnControl(6, 0, 0, 55)); // edits the preset on the pedal
    pedal().setLocked(true);
    process->session().pollStatus();
    EXPECT_EQ(backend.writeCount(), 0u);
    for (Role lamp : {Role::LampA, Role::LampB, Role::EditedLamp, Role::LockLamp})
        EXPECT_EQ(static_cast<CControl*>(page->object(lamp))->getValue(), 1) << int(lamp);
    EXPECT_EQ(valueOf(kModeSwitch), 1);
    EXPECT_TRUE(page->isBusy());
    EXPECT_TRUE(page->object(Role::BusyOverlay)->isVisible());
    EXPECT_FALSE(control(etag::kDiscardChanges)->isEnabled()) << "busy";

    pedal().setLocked(false);
    process->session().pollStatus();
    EXPECT_FALSE(page->isBusy());
    EXPECT_TRUE(control(etag::kDiscardChanges)->isEnabled()) << "edited";
    EXPECT_EQ(backend.writeCount(), 0u);
}

// The parameter controls (tags 6-172) that are enabled, and those that are not.
std::pair<int32_t, int32_t> enabledAndDisabled(CBackPage& page) {
    std::pair<int32_t, int32_t> counts{0, 0};
    page.visitDescendants([&](CCPageObject& object) {
        if (object.getTag() >= 6 && object.getTag() <= 172)
            if (auto* control = dynamic_cast<CControl*>(&object))
                ++(control->isEnabled() ? counts.first : counts.second);
        return false;
    });
    return counts;
}

TEST_F(MainPageTest, ALockedPedalKeepsItsControlsDisabledThroughReloads) {
    pedal().setLocked(true);
    process->session().pollStatus();
    ASSERT_GT(enabledAndDisabled(*page).second, 100);
    EXPECT_EQ(enabledAndDisabled(*page).first, 0) << "locked";
    process->session().reloadLocked(true);
    EXPECT_EQ(enabledAndDisabled(*page).first, 0) << "a reload's end is no unlock";
    EXPECT_TRUE(page->object(Role::BusyOverlay)->isVisible());
    process->session().reloadLocked(false);
    process->session().pollStatus();
    EXPECT_EQ(enabledAndDisabled(*page).first, 0);
    EXPECT_FALSE(control(kHeelHeight)->isEnabled());

    pedal().setLocked(false);
    process->session().pollStatus();
    EXPECT_EQ(enabledAndDisabled(*page).second, 0) << "unlocked, with the switch mode at 2";
    EXPECT_FALSE(page->object(Role::BusyOverlay)->isVisible());
}

TEST_F(MainPageTest, TheSwitchPositionStaysDisabledUnlessTheSwitchModeIsAboveOnOnly) {
    for (int32_t mode : {0, 1, 2, 3}) {
        turn(kSwitchMode, mode);
        const bool allowed = mode > 1;
        EXPECT_EQ(control(kSwitchPosition)->isEnabled(), allowed) << "turned to " << mode;
        process->session().reloadLocked(true);
        EXPECT_EQ(valueOf(kSwitchMode), mode);
        EXPECT_EQ(control(kSwitchPosition)->isEnabled(), allowed) << "after a reload, mode " << mode;
        pedal().setLocked(true);
        process->session().pollStatus();
        EXPECT_FALSE(control(kSwitchPosition)->isEnabled()) << "locked, mode " << mode;
        pedal().setLocked(false);
        process->session().pollStatus();
        EXPECT_EQ(control(kSwitchPosition)->isEnabled(), allowed) << "unlocked, mode " << mode;
        EXPECT_TRUE(control(kSwitchMode)->isEnabled());
        EXPECT_EQ(enabledAndDisabled(*page).second, allowed ? 0 : 1) << mode;
    }
}

TEST_F(MainPageTest, LiveMarkersRedrawTheDisplayOnlyWhenTheyMove) {
    const CCRect display = page->filterDisplay()->getBounds();
    auto displayPresents = [&] {
        int32_t n = 0;
        for (const CCRect& r : manager.presented)
            n += r.intersected(display).isEmpty() ? 0 : 1;
        manager.presented.clear();
        return n;
    };
    pedal().setPedalPosition(500);
    manager.presented.clear();
    process->session().pollStatus();
    const CCPoint marker = page->filterDisplay()->getMarkerPosition(0);
    EXPECT_GT(displayPresents(), 0);
    process->session().pollStatus();
    EXPECT_EQ(displayPresents(), 0) << "nothing moved";
    pedal().setPedalPosition(900);
    process->session().pollStatus();
    EXPECT_NE(page->filterDisplay()->getMarkerPosition(0), marker);
    EXPECT_GT(displayPresents(), 0);
    EXPECT_EQ(backend.writeCount(), 0u);
}

} // namespace
