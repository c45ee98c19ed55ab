// The setlist, MIDI and settings tabs on the simulated pedal, and the editor's
// own settings in a real settings store.
#include <cstdlib>
#include <filesystem>

#include "editor/editor_tags.h"
#include "editor/pedal_questions.h"
#include "editor/prefs.h"
#include "main_page_support.h"
#include "model/pedal_parameters.h"
#include "platform/dialogs.h"
#include "platform/headless/scripted_dialogs.h"
#include "platform/settings/file_settings_store.h"
#include "platform/settings_store.h"
#include "resources/resource_ids.h"
#include "tests/platform/temp_folder.h"
#include "toolkit/controls/menu_selector_ex.h"
#include "toolkit/controls/on_off_button.h"
#include "toolkit/controls/pot_control.h"
#include "toolkit/controls/static_text_ctrl.h"
#include "toolkit/controls/text_button.h"
#include "toolkit/controls/text_ctrl.h"

using namespace tovan;

namespace {

constexpr int32_t kFirstSlotPreset = 112;
constexpr int32_t kFirstSlotProgram = 132;
constexpr int32_t kFirstSlotButton = 152;

class TabsTest : public MainPageTest {
protected:
    CCMenuSelectorEx* popup(int32_t tag) { return dynamic_cast<CCMenuSelectorEx*>(page->findByTag(tag)); }
};

TEST_F(TabsTest, TheTabSelectorShowsOneTabAndTheCaptionFollows) {
    auto caption = [&] {
        return static_cast<CCStaticTextCtrl*>(page->object(Role::ActionCaption))->getText();
    };
    EXPECT_TRUE(control(kFirstSlotPreset) != nullptr && !showing(control(kFirstSlotPreset)));
    turn(etag::kTabSelector, 1);
    EXPECT_TRUE(showing(control(kFirstSlotPreset)));
    EXPECT_FALSE(showing(control(ptag::kHeelHeight)));
    EXPECT_EQ(caption(), "Save All");
    EXPECT_EQ(page->currentTab(), 1);
    turn(etag::kTabSelector, 3);
    EXPECT_TRUE(showing(control(kDeviceName)));
    EXPECT_FALSE(showing(control(kFirstSlotPreset)));
    turn(etag::kTabSelector, 0);
    EXPECT_EQ(caption(), "Export Preset");
    EXPECT_TRUE(showing(control(ptag::kHeelHeight)));
}

TEST_F(TabsTest, ProgramAndControllerMenus) {
    CCMenuSelectorEx* program = popup(kFirstSlotProgram + 4);
    program->setValue(0, Notify::no, Redraw::no, SelfOnly::yes);
    EXPECT_EQ(program->getText(), "(undefined)");
    const auto& items = program->menu().items();
    ASSERT_EQ(items.size(), 9u);
    EXPECT_EQ(items[1].text, "1 - 16");
    EXPECT_EQ(items[8].text, "113 - 128");
    EXPECT_EQ(items[1].subList->items()[4].text, "5");
    EXPECT_EQ(items[1].subList->items()[4].value, 5);
    EXPECT_EQ(items[8].subList->items()[15].value, 128);

    CCMenuSelectorEx* controller = popup(104);
    ASSERT_EQ(controller->menu().items().size(), 4u);
    EXPECT_EQ(controller->menu().items()[2].text, "7-bit controllers (64 - 95)");
    EXPECT_EQ(controller->menu().findValue(3)->text, "3:(undefined)");
    EXPECT_EQ(controller->menu().findValue(33)->text, "33:Mod Wheel");
    EXPECT_EQ(controller->menu().findValue(7)->text, "7:Volume");
    EXPECT_EQ(controller->menu().findValue(127)->text, "127:Poly Mode");

    auto* last = dynamic_cast<CCTextButton*>(page->findByTag(kFirstSlotButton + 19));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->getCaption(), "slot 20");
}

TEST_F(TabsTest, SlotEditsReachTheActiveSetlistOnThePedal) {
    turn(kActiveSetlist, 2); // setlist index 1
    EXPECT_EQ(backend.framesOf(proto::kWrite, 7, 5).size(), 1u) << "the slot reset";
    for (int32_t k = 0; k < 20; ++k) {
        EXPECT_EQ(valueOf(kFirstSlotPreset + k), pedal().setlist(1).preset[static_cast<size_t>(k)]) << k;
        EXPECT_TRUE(control(kFirstSlotPreset + k)->isVisible());
    }
    backend.clear();
    turn(kFirstSlotPreset + 3, 150);
    turn(kFirstSlotProgram + 3, 9);
    const auto presets = backend.framesOf(proto::kWrite, 7, 3);
    ASSERT_EQ(presets.size(), 1u);
    EXPECT_EQ(presets[0].header.address[0], 1);
    EXPECT_EQ(presets[0].header.address[1], 3);
    EXPECT_EQ(pedal().setlist(1).preset[3], 150);
    EXPECT_EQ(pedal().setlist(1).program[3], 9);

    // A slot button on an empty slot springs back; on a full one it selects.
    turn(kFirstSlotPreset + 5, 255);
    turn(kFirstSlotButton + 5, 1);
    EXPECT_EQ(valueOf(kFirstSlotButton + 5), 0);
    turn(kFirstSlotButton + 3, 1);
    EXPECT_EQ(valueOf(kFirstSlotButton + 3), 1);
    EXPECT_EQ(pedal().activePreset(), 150u);
}

TEST_F(TabsTest, ThePedalNameTypedReachesThePedalAndSurvivesItsReset) {
    auto* name = static_cast<CCTextCtrl*>(control(kDeviceName));
    ASSERT_TRUE(name->setValueFromText(kDeviceName, "Gig Rig", true));
    const auto stored = pedal().name();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stored.data()), 7), "Gig Rig");
    EXPECT_EQ(static_cast<CCStaticTextCtrl*>(page->object(Role::PedalNameText))->getText(), "Gig Rig");

    ScriptedDialogs dialogs;
    dialogs.answerNext(MessageAnswer::Yes);
    DialogHost* previous = setDialogHost(&dialogs);
    asking::resetPedal(*process);
    setDialogHost(previous);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(pedal().name().data()), 7), "Gig Rig");
}

TEST_F(TabsTest, SettingsTabShowsVersionsAndEmptiesThemWithoutAPedal) {
    auto text = [&](Role role) { return static_cast<CCStaticTextCtrl*>(page->object(role))->getText(); };
    EXPECT_EQ(text(Role::FirmwareText), "1.5.00");
    EXPECT_FALSE(text(Role::HardwareText).empty());
    EXPECT_EQ(text(Role::EditorVersionText), "1.0.00");
    turn(ptag::kSwitchMode, 1);
    EXPECT_FALSE(control(ptag::kSwitchPosition)->isEnabled());
    turn(ptag::kSwitchMode, 2);
    EXPECT_TRUE(control(ptag::kSwitchPosition)->isEnabled());

    page->setConnected(false);
    EXPECT_EQ(text(Role::FirmwareText), "");
    EXPECT_EQ(text(Role::PedalNameText), "");
    EXPECT_EQ(text(Role::EditorVersionText), "1.0.00") << "the editor's own version stays";
    EXPECT_TRUE(page->object(Role::NoPedalText)->isVisible());
    EXPECT_FALSE(page->object(Role::TabContents)->isVisible());
}

// The editor's settings in a real store under a temporary configuration folder.
class PrefsTest : public MainPageTest {
protected:
    void SetUp() override {
        previousConfig = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
        setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
        store = std::make_unique<FileSettingsStore>();
        previousStore = setSettingsStore(store.get());
        MainPageTest::SetUp();
    }
    void TearDown() override {
        prefs.reset();
        MainPageTest::TearDown();
        setSettingsStore(previousStore);
        if (previousConfig.empty())
            unsetenv("XDG_CONFIG_HOME");
        else
            setenv("XDG_CONFIG_HOME", previousConfig.c_str(), 1);
        setPotDragMode(kPotDragHorizontal);
    }
    void open() {
        prefs = std::make_unique<CPrefs>(CPrefs::kKeyPath, &manager);
        manager.prefs = prefs.get();
        prefs->createPreferences();
    }
    std::string stored(const char* name) {
        auto value = settingsStore().read(CPrefs::kKeyPath, name);
        return value && value->type == SettingType::String ? value->text() : "<none>";
    }

    tovan::test::TempFolder folder;
    std::string previousConfig;
    std::unique_ptr<FileSettingsStore> store;
    SettingsStore* previousStore = nullptr;
    std::unique_ptr<CPrefs> prefs;
};

TEST_F(PrefsTest, AFirstStartWritesTheDefaultsAndDragsLinearly) {
    open();
    EXPECT_EQ(stored("Topmost"), "0");
    EXPECT_EQ(stored("Pot Control"), "1");
    EXPECT_EQ(potDragMode(), kPotDragLinear);
    EXPECT_EQ(manager.topmost, (std::vector<int32_t>{0}));
    EXPECT_TRUE(std::filesystem::exists(folder.path() + "/Plavik/Tovan/1.00.ini"));
    EXPECT_EQ(valueOf(etag::kPotControl), 1);
}

TEST_F(PrefsTest, TheTopmostButtonPressedTwiceStoresZeroAgain) {
    open();
    auto* topmost = control(etag::kTopmost);
    topmost->setValue(1, Notify::yes, Redraw::yes, SelfOnly::yes);
    EXPECT_EQ(stored("Topmost"), "1");
    topmost->setValue(0, Notify::yes, Redraw::yes, SelfOnly::yes);
    EXPECT_EQ(stored("Topmost"), "0");
    EXPECT_EQ(manager.topmost, (std::vector<int32_t>{0, 1, 0}));
}

TEST_F(PrefsTest, AStoredCircularSettingReachesEveryKnobAndEveryButtonFromTheStart) {
    ASSERT_TRUE(settingsStore().write(CPrefs::kKeyPath, "Pot Control", SettingValue::string("0")));
    // A second button showing the setting, hidden on another tab.
    CCPageObject* tab = control(etag::kPotControl)->getParent();
    auto* second = tab->addChild(std::make_unique<CCOnOffButton>(
        etag::kPotControl, 300, 400, 324, 416, resid::kPotModeButton, kButtonToggle, nullptr, 0, 2));
    control(etag::kPotControl)->setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    second->setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    open();
    EXPECT_EQ(potDragMode(), kPotDragCircular);
    EXPECT_EQ(valueOf(etag::kPotControl), 0);
    EXPECT_EQ(second->getValue(), 0) << "both buttons follow, the hidden one too";
    EXPECT_FALSE(showing(second));

    // A later open reloads and announces again.
    ASSERT_TRUE(settingsStore().write(CPrefs::kKeyPath, "Pot Control", SettingValue::string("1")));
    prefs->loadAll();
    EXPECT_EQ(potDragMode(), kPotDragLinear);
    EXPECT_EQ(second->getValue(), 1);
}

} // namespace
