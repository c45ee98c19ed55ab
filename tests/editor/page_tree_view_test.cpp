// The link driving real controls on a page, the way the editor's main page
// will: values, ranges and menus by tag, and changes routed back to the link.
#include <gtest/gtest.h>

#include "editor/page_tree_view.h"
#include "link/tovan_process.h"
#include "tests/link/pedal_test_support.h"
#include "toolkit/controls/menu_selector_ex.h"
#include "toolkit/controls/on_off_button.h"
#include "toolkit/controls/pot_control.h"
#include "toolkit/controls/text_ctrl.h"
#include "toolkit/messages.h"
#include "toolkit/page_manager.h"

using namespace tovan;

namespace {

// The editor's part: value changes of parameter tags go to the link.
class RoutingManager : public CCPageManager {
public:
    RoutingManager() : CCPageManager(CCRect{0, 0, 640, 650}, nullptr, false) {}
    bool onMessage(CCMsg& msg) override {
        if (msg.code == kMsgValueChanged && process != nullptr && msg.first < 173) {
            process->values().sendParameter(msg.first, static_cast<float>(msg.second));
            return true;
        }
        return CCPageManager::onMessage(msg);
    }
    TovanProcess* process = nullptr;
};

class PageView : public ::testing::Test {
protected:
    PageView() : view(manager, &manager), process(backend, &view) {
        toeFrequency = manager.addChild(std::make_unique<CCPotControl>(16, 0, 0, 32, 34, 0, 100, 0, 0));
        presets = manager.addChild(std::make_unique<CCMenuSelectorEx>(7, 0, 40, 180, 56));
        for (int32_t k = 0; k < 20; ++k)
            slots.push_back(
                manager.addChild(std::make_unique<CCMenuSelectorEx>(112 + k, 0, 60 + k, 100, 61 + k)));
        slotButton = manager.addChild(std::make_unique<CCOnOffButton>(156, 200, 0, 220, 20, 0));
        setlistName = manager.addChild(std::make_unique<CCTextCtrl>(111, 200, 40, 300, 56));
        modeSwitch = manager.addChild(std::make_unique<CCOnOffButton>(5, 240, 0, 260, 20, 0));
        activeSetlist = manager.addChild(std::make_unique<CCPotControl>(109, 300, 0, 332, 34, 0, 12, 0, 0));
        manager.process = &process;
        process.setListener(&manager);
        process.exchange().setSleeper([](std::chrono::milliseconds) {});
        process.Open();
        EXPECT_TRUE(process.session().connect());
        process.session().reloadLocked(true);
        backend.clear();
    }
    ~PageView() override { process.session().attachedPedals().clear(); }

    pedaltest::LoggingBackend backend;
    RoutingManager manager;
    PageTreeView view;
    TovanProcess process;
    CCPotControl* toeFrequency;
    CCMenuSelectorEx* presets;
    std::vector<CCMenuSelectorEx*> slots;
    CCOnOffButton* slotButton;
    CCTextCtrl* setlistName;
    CCOnOffButton* modeSwitch;
    CCPotControl* activeSetlist;
};

} // namespace

TEST_F(PageView, AReloadFillsControlsAndMenus) {
    EXPECT_EQ(toeFrequency->getMinimum(), 10);
    EXPECT_EQ(toeFrequency->getMaximum(), 4000);
    EXPECT_TRUE(toeFrequency->isFloatMode());
    EXPECT_EQ(toeFrequency->getValue(), backend.sim.pedal(0).value(6, 0, 2));

    const auto& banks = presets->menu().items();
    ASSERT_EQ(banks.size(), 2u);
    EXPECT_EQ(banks[0].text, "Factory");
    EXPECT_EQ(banks[1].text, "User");
    ASSERT_EQ(banks[0].subList->items().size(), 10u);
    EXPECT_EQ(banks[0].subList->items()[3].text, "Bass Envelope");
    EXPECT_EQ(banks[1].subList->items()[0].text, "P00 - P09");
    std::vector<int32_t> values;
    presets->menu().collectValues(values);
    EXPECT_EQ(values.size(), 200u);

    std::vector<int32_t> slotValues;
    slots[19]->menu().collectValues(slotValues);
    ASSERT_EQ(slotValues.size(), 201u);
    EXPECT_EQ(slotValues.front(), 255) << "an empty slot is the first choice";
}

TEST_F(PageView, PedalChangesShowWithoutEchoAndScreenChangesReachThePedal) {
    ASSERT_TRUE(backend.sim.pedal(0).turnControl(6, 0, 2, 2345));
    process.session().pollStatus();
    EXPECT_EQ(toeFrequency->getValue(), 2345);
    EXPECT_EQ(backend.writeCount(), 0u);

    toeFrequency->setValue(1500, Notify::yes, Redraw::yes, SelfOnly::yes); // the player turns the knob
    const auto writes = backend.framesOf(proto::kWrite, 5, 6);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(proto::getS16(writes[0].data.data()), 1500);
    EXPECT_EQ(backend.writeCount(), 1u);
}

TEST_F(PageView, ASetlistPageFillsWithoutWritingBack) {
    process.values().sendParameter(109, 1.0f); // the demo setlist
    EXPECT_EQ(slots[3]->getValue(), 3);
    EXPECT_STREQ(setlistName->getText().c_str(), "Demo Mode");
    EXPECT_EQ(backend.framesOf(proto::kWrite, 7, 3).size(), 0u);
    EXPECT_EQ(backend.framesOf(proto::kWrite, 7, 4).size(), 0u);

    slots[3]->setValue(150, Notify::yes, Redraw::yes, SelfOnly::yes); // a new preset for slot 4
    const auto writes = backend.framesOf(proto::kWrite, 7, 3);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].header.address[1], 3);
    EXPECT_EQ(writes[0].data[0], 150);
    EXPECT_EQ(backend.sim.pedal(0).setlist(0).preset[3], 150);

    slotButton->setValue(1, Notify::yes, Redraw::yes, SelfOnly::yes); // slot 5 holds preset 4
    EXPECT_EQ(backend.framesOf(proto::kWrite, 5, 2).back().data[0], 4);
}

TEST_F(PageView, ReadingThePedalWritesNothingWithTheControlsBound) {
    // A setlist playing, the mode switch on and unsaved edits: a full reload,
    // a value reload and the polls that follow only show them.
    sim::SimPedal& pedal = backend.sim.pedal(0);
    ASSERT_TRUE(pedal.turnControl(8, 0, 16, 3));
    pedal.stepPreset(true);
    ASSERT_TRUE(pedal.turnControl(6, 0, 2, 1999));
    pedal.setModeSwitch(true);
    process.session().reloadLocked(true);
    process.session().pollStatus();
    process.session().reload(false);
    process.session().pollStatus();
    EXPECT_EQ(backend.writeCount(), 0u);
    EXPECT_EQ(activeSetlist->getValue(), 3);
    EXPECT_EQ(modeSwitch->getValue(), 1) << "the mode switch follows status bit 6";
    EXPECT_EQ(presets->getValue(), static_cast<int32_t>(pedal.activePreset()));
    EXPECT_TRUE(pedal.edited()) << "the active preset is not selected again";

    pedal.setModeSwitch(false);
    process.session().pollStatus();
    EXPECT_EQ(modeSwitch->getValue(), 0);
    EXPECT_EQ(backend.writeCount(), 0u);

    backend.clear();
    activeSetlist->setValue(0, Notify::yes, Redraw::yes, SelfOnly::yes); // the player leaves the setlist
    const auto frames = backend.frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_TRUE(frames[0].is(proto::kWrite, 5, 8));
    EXPECT_TRUE(frames[1].is(proto::kWrite, 7, 5));
}

TEST_F(PageView, ControlsAreFoundByTagAsThePageChanges) {
    EXPECT_FALSE(view.hasControl(150));
    auto* added = manager.addChild(std::make_unique<CCPotControl>(150, 400, 0, 432, 34, 0, 100, 0, 0));
    EXPECT_TRUE(view.hasControl(150)) << "a control added after a look-up";
    view.setControlValueQuiet(150, 40);
    EXPECT_EQ(added->getValue(), 40);
    auto* twin = manager.addChild(std::make_unique<CCPotControl>(150, 440, 0, 472, 34, 0, 100, 0, 0));
    view.setControlValueQuiet(150, 60);
    EXPECT_EQ(added->getValue(), 60);
    EXPECT_EQ(twin->getValue(), 60) << "a tag shown twice sets both";

    std::unique_ptr<CCPageObject> taken = manager.removeChild(added);
    view.setControlValueQuiet(150, 70);
    EXPECT_EQ(added->getValue(), 60) << "a control taken out of the page is not found";
    EXPECT_EQ(twin->getValue(), 70);
    manager.removeChild(twin).reset();
    EXPECT_FALSE(view.hasControl(150)) << "a control destroyed is not found";

    toeFrequency->setTag(151);
    EXPECT_FALSE(view.hasControl(16));
    view.setControlValueQuiet(151, 1234);
    EXPECT_EQ(toeFrequency->getValue(), 1234) << "a control is found under the tag it was given";
}
