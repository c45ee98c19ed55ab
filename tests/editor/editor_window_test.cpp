// The whole editor in a headless window on the simulated pedal: the window's
// input through the client side of the seam, and the commands with their
// questions answered by script.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <random>
#include <thread>

#include "editor/back_page.h"
#include "editor/editor_tags.h"
#include "editor/editor_window.h"
#include "editor/layout/layout_row.h"
#include "editor/pedal_questions.h"
#include "editor/permission_doctor.h"
#include "editor/prefs.h"
#include "editor/tovan_filter_ctrl.h"
#include "editor_test_support.h"
#include "link/firmware_update.h"
#include "link/tovan_process.h"
#include "model/pedal_parameters.h"
#include "platform/dialogs.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/scripted_dialogs.h"
#include "platform/headless/scripted_popups.h"
#include "tests/link/fake_backend.h"
#include "tests/link/pedal_test_support.h"
#include "tests/platform/temp_folder.h"
#include "toolkit/controls/flashing_on_off_button.h"
#include "toolkit/controls/pot_control.h"
#include "toolkit/controls/static_text_ctrl.h"
#include "toolkit/controls/text_ctrl.h"
#include "toolkit/cursor.h"

using namespace tovan;

namespace {

// Remembers the keys that reach the tree.
class KeyProbe : public CCPageObject {
public:
    bool onMessage(CCMsg& msg) override {
        if (msg.code == kMsgKeyDown) keys.push_back(msg.first);
        return false;
    }
    std::vector<int32_t> keys;
};

class EditorWindowTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        previousDialogs = setDialogHost(&dialogs);
        previousBoxes = setEditBoxHost(&boxes);
        editor = std::make_unique<CCEditor>(nullptr, backend, std::span<const uint8_t>{}, &clock, false);
        ASSERT_TRUE(editor->Open(&window));
        editor->process()->exchange().setSleeper([](std::chrono::milliseconds) {});
        backend.clear();
    }
    void TearDown() override {
        editor.reset();
        setEditBoxHost(previousBoxes);
        setDialogHost(previousDialogs);
        setPotDragMode(kPotDragHorizontal);
        EditorTest::TearDown();
    }

    CControl* control(int32_t tag) { return dynamic_cast<CControl*>(editor->mainPage()->findByTag(tag)); }
    // The middle of a control, as a pointer event (screen = client + window origin).
    CCPointerEvent at(CCPoint p) {
        return {.x = p.x, .y = p.y, .screenX = p.x + kOrigin.x, .screenY = p.y + kOrigin.y};
    }
    CCPointerEvent over(int32_t tag) { return at(centre(control(tag)->getBounds())); }
    void click(int32_t tag) {
        editor->leftPressed(over(tag));
        editor->leftReleased(over(tag));
    }
    tovan::sim::SimPedal& pedal() { return backend.sim.pedal(0); }
    std::string presetName(int slot) {
        const auto& name = pedal().userPreset(slot).name;
        return std::string(name.data(), strnlen(name.data(), name.size()));
    }

    static constexpr CCPoint kOrigin{100, 80};
    pedaltest::LoggingBackend backend;
    SteppedClock clock;
    HeadlessWindow window{640, 650, kOrigin};
    ScriptedDialogs dialogs;
    ScriptedEditBoxes boxes;
    DialogHost* previousDialogs = nullptr;
    EditBoxHost* previousBoxes = nullptr;
    std::unique_ptr<CCEditor> editor;
};

TEST_F(EditorWindowTest, OpeningBuildsConnectsAndStartsTheTimers) {
    EXPECT_TRUE(editor->process()->session().isConnected());
    EXPECT_EQ(window.timerPeriod(CCEditor::kPollTimer), 100u);
    EXPECT_EQ(window.timerPeriod(CCEditor::kTickTimer), 20u);
    EXPECT_EQ(editor->mainPage()->getPageId(), kMainPageId);
    EXPECT_NE(editor->preferences(), nullptr);
    // A poll tick reads the pedal's status and writes nothing.
    ASSERT_TRUE(window.fireTimer(*editor, CCEditor::kPollTimer));
    EXPECT_FALSE(backend.framesOf(proto::kRequest, proto::kGroupDevice, proto::device::kStatus).empty());
    EXPECT_EQ(backend.writeCount(), 0u);
    EXPECT_TRUE(window.timerRunning(CCEditor::kPollTimer)) << "the poll repeats";
    // The composed page reaches the window.
    EXPECT_GT(window.presentPending(*editor), 0);
    EXPECT_EQ(window.image()->pixelAt(0, 0), (CCPixel{255, 0, 255, 255}));
}

TEST_F(EditorWindowTest, ABackgroundPressMovesTheWindowAndAWidgetPressCaptures) {
    // Between the filter panels: no control's, only the page's.
    EXPECT_FALSE(editor->leftPressed(at({320, 450})));
    ASSERT_EQ(window.moves.size(), 1u);
    EXPECT_EQ(window.moves[0], (CCPoint{420, 530}));
    EXPECT_FALSE(window.mouseCaptured());

    EXPECT_TRUE(editor->leftPressed(over(ptag::kOutputLevel)));
    EXPECT_TRUE(window.mouseCaptured());
    EXPECT_EQ(window.moves.size(), 1u);
    editor->leftReleased(over(ptag::kOutputLevel));
    EXPECT_FALSE(window.mouseCaptured());
}

TEST_F(EditorWindowTest, TheWheelTurnsTheKnobUnderThePointer) {
    const int32_t before = control(ptag::kOutputLevel)->getValue();
    CCPointerEvent wheel = over(ptag::kOutputLevel);
    wheel.wheelDelta = 120;
    EXPECT_TRUE(editor->wheelTurned(wheel));
    EXPECT_EQ(control(ptag::kOutputLevel)->getValue(), before + 1);
    EXPECT_EQ(pedal().value(5, 0, 0), before + 1);
    editor->setWheelEnabled(false);
    EXPECT_FALSE(editor->wheelTurned(wheel));
    EXPECT_EQ(control(ptag::kOutputLevel)->getValue(), before + 1);
}

TEST_F(EditorWindowTest, KeypadDigitsArriveAsDigits) {
    auto* probe = editor->addChild(std::make_unique<KeyProbe>());
    editor->keyPressed(96 + 5);
    editor->keyPressed('A');
    EXPECT_EQ(probe->keys, (std::vector<int32_t>{'5', 'A'}));
}

TEST_F(EditorWindowTest, AFieldBeingEditedCommitsWhenTheWindowLosesTheFocus) {
    auto* field = static_cast<CCTextCtrl*>(control(ptag::kHeelFrequency));
    ASSERT_TRUE(field->beginEdit());
    boxes.current()->type("750");
    editor->focusLost();
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(field->getValue(), 750);
    EXPECT_EQ(pedal().value(6, 0, 3), 750);
    EXPECT_EQ(editor->mainPage()->filterDisplay()->getPoint(CTovanFilterCtrl::kFilter1Heel).first, 750.0f)
        << "the display follows the typed value";
}

TEST_F(EditorWindowTest, AGrabThePlatformEndsEndsTheKnobDrag) {
    setPotDragMode(kPotDragLinear);
    auto* knob = control(ptag::kDrive);
    ASSERT_TRUE(editor->leftPressed(over(ptag::kDrive)));
    EXPECT_TRUE(knob->hasCapture());
    EXPECT_FALSE(cursorShown());
    editor->captureLost();
    EXPECT_FALSE(knob->hasCapture());
    EXPECT_TRUE(cursorShown());
    EXPECT_FALSE(window.mouseCaptured());
    EXPECT_EQ(editor->captureObject(), nullptr);
}

TEST_F(EditorWindowTest, AKnobDisabledMidDragStillGetsItsRelease) {
    setPotDragMode(kPotDragLinear);
    auto* knob = control(ptag::kDrive);
    ASSERT_TRUE(editor->leftPressed(over(ptag::kDrive)));
    knob->setEnabled(false);
    editor->leftReleased(over(ptag::kDrive));
    EXPECT_FALSE(knob->hasCapture());
    EXPECT_TRUE(cursorShown());
}

TEST_F(EditorWindowTest, ADragFallsBackToRelativeMovesWhereWarpsAreRefused) {
    setPotDragMode(kPotDragLinear);
    window.setWarpAllowed(false);
    auto* knob = control(ptag::kDrive);
    const int32_t before = knob->getValue();
    CCPointerEvent e = over(ptag::kDrive);
    ASSERT_TRUE(editor->leftPressed(e));
    for (int i = 0; i < 3; ++i) {
        e.screenY -= 2; // the pointer really moves: it is never put back
        editor->pointerMoved(e);
    }
    EXPECT_EQ(knob->getValue(), before + 6) << "two a move, not 2 + 4 + 6";
    editor->leftReleased(e);
}

TEST_F(EditorWindowTest, DeleteAsksAndOnlyOkDeletes) {
    editor->process()->presets().select(105);
    ASSERT_EQ(pedal().activePreset(), 105u);
    const std::string before = presetName(5);
    dialogs.answerNext(MessageAnswer::Cancel);
    click(etag::kDeletePreset);
    EXPECT_EQ(presetName(5), before);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Do you want to delete the current preset?");
    dialogs.answerNext(MessageAnswer::Ok);
    click(etag::kDeletePreset);
    EXPECT_EQ(presetName(5), "---");
}

TEST_F(EditorWindowTest, DiscardRevertsTheEdits) {
    ASSERT_TRUE(pedal().turnControl(6, 0, 0, 12));
    ASSERT_TRUE(window.fireTimer(*editor, CCEditor::kPollTimer));
    ASSERT_TRUE(pedal().edited());
    ASSERT_TRUE(control(etag::kDiscardChanges)->isEnabled());
    dialogs.answerNext(MessageAnswer::Ok);
    click(etag::kDiscardChanges);
    EXPECT_FALSE(pedal().edited());
    EXPECT_EQ(dialogs.shown.back().text,
              "Do you want to discard any changes you have made\nand return to the current preset?");
}

TEST_F(EditorWindowTest, StepButtonsStopAtTheEnds) {
    editor->process()->presets().select(199);
    backend.clear();
    click(etag::kNextPreset);
    EXPECT_EQ(pedal().activePreset(), 199u);
    editor->process()->presets().select(0);
    backend.clear();
    click(etag::kPreviousPreset);
    EXPECT_EQ(pedal().activePreset(), 0u);
    EXPECT_EQ(backend.writeCount(), 0u);
    click(etag::kNextPreset);
    EXPECT_EQ(pedal().activePreset(), 1u) << "one step a click, press and release together";
}

TEST_F(EditorWindowTest, TheStorePanelStoresTheTypedNameIntoTheChosenSlot) {
    click(etag::kStorePanel);
    CCPageObject* panel = editor->modalPanel();
    ASSERT_NE(panel, nullptr);
    static_cast<CControl*>(panel->findByTag(layout::kStoreSlotTag))
        ->setValue(12, Notify::no, Redraw::no, SelfOnly::yes);
    static_cast<CCTextCtrl*>(panel->findByTag(layout::kStoreNameTag))->setText("Fat");
    static_cast<CCTextCtrl*>(panel->findByTag(layout::kStoreDescriptionTag))->setText("Fat wah");
    auto* store = static_cast<CControl*>(panel->findByTag(etag::kStorePreset));
    editor->leftPressed(at(centre(store->getBounds())));
    editor->leftReleased(at(centre(store->getBounds())));
    EXPECT_EQ(presetName(12), "Fat");
    const auto& description = pedal().userPreset(12).description;
    EXPECT_EQ(std::string(description.data(), 7), "Fat wah");
    EXPECT_EQ(editor->modalPanel(), nullptr);
    EXPECT_EQ(control(etag::kStorePanel)->getValue(), 0) << "the store button springs back";
}

// Its labels and buttons are in the first drawing: nothing else redraws the
// panel before the player reads it.
TEST_F(EditorWindowTest, TheStorePanelIsDrawnWholeWhenShown) {
    editor->redraw(*editor->drawContext(), nullptr);
    click(etag::kStorePanel);
    ASSERT_NE(editor->modalPanel(), nullptr);
    const CCRect box = editor->modalPanel()->getBounds();
    const CCBitmap& drawn = editor->drawContext()->surface();
    std::vector<CCPixel> shown;
    for (int32_t y = box.top; y < box.bottom; ++y)
        for (int32_t x = box.left; x < box.right; ++x)
            shown.push_back(drawn.pixelAt(x, y));
    editor->redraw(*editor->drawContext(), nullptr);
    size_t differing = 0;
    for (int32_t y = box.top, k = 0; y < box.bottom; ++y)
        for (int32_t x = box.left; x < box.right; ++x, ++k)
            if (!(shown[static_cast<size_t>(k)] == drawn.pixelAt(x, y))) ++differing;
    EXPECT_EQ(differing, 0u) << "parts of the panel came only with a later redraw";
}

TEST_F(EditorWindowTest, TheActionButtonExportsOnThePresetTabAndBacksUpElsewhere) {
    tovan::test::TempFolder folder;
    auto kind = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::string head(16, '\0');
        in.read(head.data(), 16);
        return head;
    };
    dialogs.chooseNext(folder.path() + "/one.tovan");
    click(etag::kExportOrBackup);
    EXPECT_EQ(kind(folder.path() + "/one.tovan"), "PLAVIK-TOVAN-pre");

    click(etag::kTabSelector); // any press on the selector picks a tab; choose the setlists
    control(etag::kTabSelector)->setValue(1, Notify::yes, Redraw::yes, SelfOnly::yes);
    auto* caption = static_cast<CCStaticTextCtrl*>(editor->mainPage()->object(Role::ActionCaption));
    EXPECT_EQ(caption->getText(), "Save All");
    dialogs.chooseNext(folder.path() + "/all.tovan_all");
    click(etag::kExportOrBackup);
    EXPECT_EQ(kind(folder.path() + "/all.tovan_all"), "PLAVIK-TOVAN-all");
    control(etag::kTabSelector)->setValue(0, Notify::yes, Redraw::yes, SelfOnly::yes);
    EXPECT_EQ(caption->getText(), "Export Preset");

    // A preset file dropped on the window is loaded into the edit buffer.
    ASSERT_TRUE(pedal().turnControl(6, 0, 3, 333));
    window.fireTimer(*editor, CCEditor::kPollTimer);
    ASSERT_EQ(control(ptag::kHeelFrequency)->getValue(), 333);
    editor->filesDropped({folder.path() + "/one.tovan"});
    EXPECT_NE(pedal().value(6, 0, 3), 333) << "the exported heel frequency is back";
}

TEST_F(EditorWindowTest, AWindowButtonLeftBeforeTheReleaseDoesNothing) {
    // Pressed on the button, slid off and released outside: as on every desktop,
    // nothing happens; the same press released on the button acts.
    const CCPoint outside{320, 300};
    for (int32_t tag : {etag::kClose, etag::kMinimise, etag::kMakerPage}) {
        editor->leftPressed(over(tag));
        editor->pointerMoved(at(outside));
        editor->leftReleased(at(outside));
        SCOPED_TRACE(tag);
        EXPECT_EQ(window.closeRequests, 0);
        EXPECT_EQ(window.minimiseRequests, 0);
        EXPECT_TRUE(dialogs.opened.empty());
        EXPECT_FALSE(window.mouseCaptured());
    }
    editor->leftPressed(over(etag::kClose));
    editor->pointerMoved(at(outside));
    editor->pointerMoved(over(etag::kClose));
    editor->leftReleased(over(etag::kClose));
    EXPECT_EQ(window.closeRequests, 1) << "back on the button before the release";
    click(etag::kMakerPage);
    EXPECT_EQ(dialogs.opened.size(), 1u);
}

TEST_F(EditorWindowTest, OfSeveralFilesDroppedTheFirstIsLoadedAndThePlayerToldOfTheOthers) {
    tovan::test::TempFolder folder;
    dialogs.chooseNext(folder.path() + "/first.tovan");
    click(etag::kExportOrBackup);
    ASSERT_TRUE(pedal().turnControl(6, 0, 3, 333));
    window.fireTimer(*editor, CCEditor::kPollTimer);
    dialogs.shown.clear();
    editor->filesDropped({folder.path() + "/first.tovan", folder.path() + "/second.tovan",
                          folder.path() + "/third.tovan_all"});
    EXPECT_NE(pedal().value(6, 0, 3), 333) << "the first file was loaded";
    ASSERT_EQ(dialogs.shown.size(), 1u) << "one message, and nothing about the others' contents";
    const std::string& text = dialogs.shown.front().text;
    EXPECT_NE(text.find("first.tovan"), std::string::npos) << text;
    EXPECT_NE(text.find("second.tovan"), std::string::npos) << text;
    EXPECT_NE(text.find("third.tovan_all"), std::string::npos) << text;
    EXPECT_NE(text.find("not loaded"), std::string::npos) << text;

    dialogs.shown.clear();
    editor->filesDropped({folder.path() + "/first.tovan"});
    EXPECT_TRUE(dialogs.shown.empty()) << "one file dropped: nothing to say";
}

TEST_F(EditorWindowTest, WindowButtonsReachTheHost) {
    click(etag::kClose);
    EXPECT_EQ(window.closeRequests, 1);
    click(etag::kMinimise);
    EXPECT_EQ(window.minimiseRequests, 1);
    click(etag::kTopmost);
    EXPECT_TRUE(window.topmost);
    EXPECT_EQ(editor->preferences()->getInt(CPrefs::kTopmost), 1);
    click(etag::kTopmost);
    EXPECT_FALSE(window.topmost);
}

TEST_F(EditorWindowTest, AHundredTicksAndAKnobTurnOnAPlayedPedal) {
    std::mt19937 random(7);
    for (int tick = 0; tick < 100; ++tick) {
        if (tick % 10 == 0) pedal().playStep(random);
        clock.now += 100;
        window.fireTimer(*editor, CCEditor::kPollTimer);
        window.fireTimer(*editor, CCEditor::kTickTimer);
        window.presentPending(*editor);
    }
    backend.clear();
    auto* knob = control(ptag::kDrive);
    knob->setValue(50, Notify::no, Redraw::no, SelfOnly::yes);
    CCPointerEvent wheel = over(ptag::kDrive);
    wheel.wheelDelta = -120;
    editor->wheelTurned(wheel);
    EXPECT_EQ(knob->getValue(), 49);
    EXPECT_EQ(backend.writeCount(), 1u) << "one write exchange for one step";
    editor->Close();
    EXPECT_FALSE(editor->IsOpen());
    EXPECT_FALSE(window.timerRunning(CCEditor::kPollTimer));
}

// Records the timer messages that reach it.
class TimerProbe : public CCPageObject {
public:
    bool onMessage(CCMsg& msg) override {
        if (msg.code == kMsgTimer) timers.push_back(static_cast<uint32_t>(msg.first));
        return false;
    }
    std::vector<uint32_t> timers;
};

TEST_F(EditorWindowTest, TheTickSleepsWhileNothingMovesAndAFadeOrAFlashWakesIt) {
    auto* probe = editor->mainPage()->addChild(std::make_unique<TimerProbe>());
    clock.now += 10000;
    editor->fades().runPass(); // the fades of the build end
    ASSERT_TRUE(window.fireTimer(*editor, CCEditor::kTickTimer));
    EXPECT_FALSE(window.timerRunning(CCEditor::kTickTimer)) << "nothing moves: the tick sleeps";
    EXPECT_FALSE(editor->tickRunning());
    ASSERT_TRUE(window.fireTimer(*editor, CCEditor::kPollTimer));
    EXPECT_TRUE(window.timerRunning(CCEditor::kPollTimer)) << "the poll goes on";

    // A fade wakes it; it sleeps again once the fade has ended.
    CControl* knob = control(ptag::kDrive);
    editor->fadeTo(knob, 100, 10, 0);
    EXPECT_TRUE(window.timerRunning(CCEditor::kTickTimer));
    EXPECT_EQ(window.timerPeriod(CCEditor::kTickTimer), CCEditor::kTickPeriodMs);
    ASSERT_TRUE(window.fireTimer(*editor, CCEditor::kTickTimer));
    EXPECT_TRUE(window.timerRunning(CCEditor::kTickTimer)) << "awake while the fade runs";
    clock.now += 10000;
    editor->fades().runPass();
    ASSERT_TRUE(window.fireTimer(*editor, CCEditor::kTickTimer));
    EXPECT_FALSE(window.timerRunning(CCEditor::kTickTimer));

    // So does a button that flashes, for as long as it flashes; its own timer
    // reaches it.
    auto* flashing = editor->mainPage()->addChild(std::make_unique<CCFlashingOnOffButton>(
        kTagNone, 10, 10, 34, 26, 0, kButtonToggle, nullptr, 0, &clock));
    flashing->setValue(1, Notify::no, Redraw::yes, SelfOnly::yes);
    EXPECT_TRUE(window.timerRunning(CCEditor::kTickTimer));
    ASSERT_TRUE(window.fireTimer(*editor, CCEditor::kTickTimer));
    EXPECT_TRUE(window.timerRunning(CCEditor::kTickTimer));
    window.presentPending(*editor);
    clock.now += CCFlashingOnOffButton::kPhaseMs;
    ASSERT_TRUE(window.fireTimer(*editor, flashing->timerId()));
    const std::vector<CCRect> drawn = window.pendingPresents();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), flashing->getBounds()), drawn.end())
        << "its own timer reached the button, which drew its next phase";
    flashing->setValue(0, Notify::no, Redraw::yes, SelfOnly::yes);
    ASSERT_TRUE(window.fireTimer(*editor, CCEditor::kTickTimer));
    EXPECT_FALSE(window.timerRunning(CCEditor::kTickTimer));

    // The editor's timers and a control's reach no other object of the page.
    EXPECT_TRUE(probe->timers.empty());
}

// Whether a thread other than this one could take the lock now (the fade
// thread composes under the editor's redraw lock).
bool anotherThreadCanTake(std::recursive_mutex& lock) {
    bool free = false;
    std::thread other([&] {
        if (lock.try_lock()) {
            free = true;
            lock.unlock();
        }
    });
    other.join();
    return free;
}

// Notes at each scan for pedals whether another thread could take the
// editor's redraw lock then (the fade thread composes under it).
class LockProbeBackend : public pedaltest::LoggingBackend {
public:
    std::optional<std::vector<std::string>> enumerate() override {
        if (editor != nullptr) {
            ++scans;
            unlockedScans += anotherThreadCanTake(*editor->lockRedraw().mutex()) ? 1 : 0;
        }
        return LoggingBackend::enumerate();
    }
    CCEditor* editor = nullptr;
    int scans = 0;
    int unlockedScans = 0;
};

class EditorHotplugTest : public EditorTest {};

TEST_F(EditorHotplugTest, APlugInRefreshesTheMenuAndThePageUnderTheRedrawLock) {
    LockProbeBackend backend;
    HeadlessWindow window{640, 650};
    ScriptedDialogs dialogs;
    DialogHost* previous = setDialogHost(&dialogs);
    {
        CCEditor editor(nullptr, backend, std::span<const uint8_t>{}, nullptr, true);
        ASSERT_TRUE(editor.Open(&window));
        editor.process()->exchange().setSleeper([](std::chrono::milliseconds) {});
        backend.editor = &editor;
        editor.devicesChanged(); // as the hot-plug thread's notice runs it on the window's loop
        backend.sim.unplug(0);
        editor.devicesChanged();
        EXPECT_FALSE(editor.process()->session().isConnected());
        backend.sim.plug(std::make_unique<tovan::sim::SimPedal>());
        editor.devicesChanged();
        EXPECT_TRUE(editor.process()->session().isConnected());
        EXPECT_GE(backend.scans, 3);
        EXPECT_EQ(backend.unlockedScans, 0);
        backend.editor = nullptr;
    }
    setDialogHost(previous);
}

TEST_F(EditorHotplugTest, EveryExchangeOfAReloadHappensUnderTheRedrawLock) {
    pedaltest::LoggingBackend backend;
    HeadlessWindow window{640, 650};
    ScriptedDialogs dialogs;
    DialogHost* previous = setDialogHost(&dialogs);
    {
        CCEditor editor(nullptr, backend, std::span<const uint8_t>{}, nullptr, true);
        ASSERT_TRUE(editor.Open(&window));
        editor.process()->exchange().setSleeper([](std::chrono::milliseconds) {});
        std::recursive_mutex* redraw = editor.lockRedraw().mutex();
        int exchanges = 0;
        int unlocked = 0;
        backend.log->fault = [&](char kind, const tovan::proto::Header&, bool isHeader) {
            if (kind != 'w' || !isHeader) return tovan::HidStatus::ok;
            ++exchanges;
            unlocked += anotherThreadCanTake(*redraw) ? 1 : 0;
            return tovan::HidStatus::ok;
        };
        editor.process()->session().reloadLocked(true);  // full
        editor.process()->session().reloadLocked(false); // values only
        backend.log->fault = nullptr;
        EXPECT_GT(exchanges, 1000) << "a full reload and a value reload";
        EXPECT_EQ(unlocked, 0) << "exchanges during which another thread could have drawn";
    }
    setDialogHost(previous);
}

TEST(PermissionDoctor, APedalThatCannotBeOpenedIsToldOnceAPlugIn) {
    tovan::test::FakeBackend backend;
    const std::string pedal = "hidraw:/dev/hidraw3#vid_231c&pid_0002";
    backend.bus->paths = {pedal, "hidraw:/dev/hidraw1#vid_046d&pid_c52b"};
    backend.bus->unopenable = {pedal};
    ScriptedDialogs dialogs;
    DialogHost* previous = setDialogHost(&dialogs);
    PermissionDoctor doctor;
    EXPECT_TRUE(doctor.check(backend, {}));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("70-tovan.rules"), std::string::npos);
    EXPECT_FALSE(doctor.check(backend, {})) << "once, not at every scan";
    backend.bus->paths = {}; // unplugged
    EXPECT_FALSE(doctor.check(backend, {}));
    backend.bus->paths = {pedal}; // and back
    EXPECT_TRUE(doctor.check(backend, {}));
    backend.bus->unopenable.clear(); // with the rule installed all is well
    backend.bus->paths = {};
    doctor.check(backend, {});
    backend.bus->paths = {pedal};
    EXPECT_FALSE(doctor.check(backend, {}));
    EXPECT_EQ(dialogs.shown.size(), 2u);
    setDialogHost(previous);
}

} // namespace

namespace {

// Questions that, while open, let the main loop run what arrives meanwhile, as
// a modal dialog's nested loop does.
class NestedLoopDialogs : public ScriptedDialogs {
public:
    MessageAnswer messageBox(MessageStyle style, std::string_view title, std::string_view text) override {
        if (whileOpen) whileOpen();
        return ScriptedDialogs::messageBox(style, title, text);
    }
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
        if (whileOpen) whileOpen();
        return ScriptedDialogs::chooseFile(request);
    }
    std::function<void()> whileOpen;
};

} // namespace

TEST_F(EditorWindowTest, WhatArrivesWhileAQuestionIsOpenWaitsForTheOperation) {
    NestedLoopDialogs nested;
    DialogHost* previous = setDialogHost(&nested);
    size_t exchangesWhileOpen = 99;
    bool handedInRan = false;
    bool ranBeforeTheEnd = false;
    nested.whileOpen = [&] {
        backend.clear();
        window.fireTimer(*editor, CCEditor::kPollTimer);
        editor->devicesChanged();
        editor->whenIdle([&] { handedInRan = true; });
        exchangesWhileOpen = backend.frames().size();
        ranBeforeTheEnd = handedInRan;
        EXPECT_TRUE(editor->operationRunning());
    };
    click(etag::kExportOrBackup); // asks for a file first; the script cancels
    setDialogHost(previous);
    EXPECT_EQ(exchangesWhileOpen, 0u) << "no poll and no device change inside the question";
    EXPECT_FALSE(ranBeforeTheEnd);
    EXPECT_TRUE(handedInRan) << "handed-in work runs once the operation ends";
    EXPECT_FALSE(backend.framesOf(proto::kRequest, proto::kGroupDevice, proto::device::kName).empty())
        << "the device change ran after the operation";
    EXPECT_FALSE(editor->operationRunning());
    // With nothing running, the tick polls again.
    backend.clear();
    window.fireTimer(*editor, CCEditor::kPollTimer);
    EXPECT_FALSE(backend.framesOf(proto::kRequest, proto::kGroupDevice, proto::device::kStatus).empty());
}

// An editor that reads the pedal once its window is on screen, as the program's.
class EditorStart : public ::testing::Test {
protected:
    EditorStart() : previous(setDialogHost(&dialogs)) {}
    ~EditorStart() override { setDialogHost(previous); }

    // Opened, not read yet.
    std::unique_ptr<CCEditor> openReadingWhenShown() {
        auto editor = std::make_unique<CCEditor>(nullptr, backend, std::span<const uint8_t>{}, &clock, false);
        editor->readPedalWhenShown();
        EXPECT_TRUE(editor->Open(&window));
        editor->process()->exchange().setSleeper([](std::chrono::milliseconds) {});
        return editor;
    }

    pedaltest::LoggingBackend backend;
    SteppedClock clock;
    HeadlessWindow window{640, 650, {100, 80}};
    ScriptedDialogs dialogs;
    DialogHost* previous;
};

TEST_F(EditorStart, TheWindowShowsBeforeThePedalIsReadAndTheReadingDrawsItsProgress) {
    {
        std::unique_ptr<CCEditor> opened = openReadingWhenShown();
        CCEditor& editor = *opened;
        EXPECT_TRUE(backend.frames().empty()) << "nothing is asked of the pedal before the window shows";
        EXPECT_FALSE(editor.process()->session().isConnected());
        auto* caption = dynamic_cast<CCStaticTextCtrl*>(editor.mainPage()->object(Role::BusyCaption));
        ASSERT_NE(caption, nullptr);
        EXPECT_EQ(caption->getText(), layout::kReadingText);
        EXPECT_TRUE(editor.mainPage()->object(Role::BusyOverlay)->isVisible());
        // The reading does not wait for the window to be on screen: it starts
        // as soon as the loop runs.
        EXPECT_EQ(window.timerPeriod(CCEditor::kStartReadTimer), 1u);
        EXPECT_TRUE(window.marks.empty());

        // The reading presents its progress while the page's update batch holds
        // everything else back: the whole page as it begins (the overlay with
        // its caption on it), then the bar alone, at most once a step's time,
        // on a pedal taking 1 ms a report.
        const CCRect overlay = editor.mainPage()->object(Role::BusyOverlay)->getBounds();
        const CCRect bar = editor.mainPage()->object(Role::ReadingBar)->getBounds();
        window.presentPending(editor);
        editor.process()->setClock(&clock);
        backend.log->fault = [&](char, const proto::Header&, bool) {
            ++clock.now;
            return HidStatus::ok;
        };
        const uint32_t readFrom = clock.now;
        ASSERT_TRUE(window.fireTimer(editor, CCEditor::kStartReadTimer));
        const uint32_t readFor = clock.now - readFrom;
        EXPECT_TRUE(editor.process()->session().isConnected());
        EXPECT_GE(backend.frames().size(), 1000u) << "the whole pedal was read";
        int pagePresents = 0;
        int overlayPresents = 0;
        int barPresents = 0;
        for (const CCRect& r : window.pendingPresents()) {
            pagePresents += r == editor.GetRect();
            overlayPresents += r == overlay;
            barPresents += r == bar;
        }
        EXPECT_GE(pagePresents, 1) << "the page, with the caption on it, as the reading begins";
        EXPECT_EQ(overlayPresents, 0) << "the caption did not change: only the bar is drawn again";
        EXPECT_GE(barPresents, 30) << "the progress was drawn as the reading went (" << readFor << " ms)";
        EXPECT_LE(barPresents, static_cast<int>(readFor / PedalExchange::kReadingStepMs) + 1)
            << "a step drawn sooner than a step's time after the last";
        EXPECT_GE(window.appearRequests, overlayPresents + barPresents)
            << "each step of the progress lets the window come up";
        EXPECT_FALSE(editor.mainPage()->object(Role::BusyOverlay)->isVisible());
        EXPECT_FALSE(window.timerRunning(CCEditor::kStartReadTimer)) << "once";
        EXPECT_EQ(window.marks, (std::vector<std::string>{"start-read-begin", "start-read-done"}));
        EXPECT_EQ(backend.writeCount(), 0u) << "reading the pedal wrote to it";

        // Later readings of the whole pedal are not the start's.
        editor.process()->session().reloadLocked(true);
        window.fireTimer(editor, CCEditor::kPollTimer);
        EXPECT_EQ(window.marks, (std::vector<std::string>{"start-read-begin", "start-read-done"}));
    }
}

TEST_F(EditorStart, AFileHandedOverBeforeThePedalIsReadIsLoadedOnceItIs) {
    tovan::test::TempFolder folder;
    const std::string file = folder.path() + "/level.tovan";
    {
        // A preset file whose level differs from the pedal's.
        CCEditor writer(nullptr, backend, std::span<const uint8_t>{}, &clock, false);
        ASSERT_TRUE(writer.Open(&window));
        writer.process()->exchange().setSleeper([](std::chrono::milliseconds) {});
        ASSERT_TRUE(backend.sim.pedal(0).turnControl(5, 0, 0, 33));
        window.fireTimer(writer, CCEditor::kPollTimer);
        ASSERT_TRUE(asking::exportPresetTo(*writer.process(), file));
        ASSERT_TRUE(backend.sim.pedal(0).turnControl(5, 0, 0, 77));
        writer.Close();
    }
    {
        std::unique_ptr<CCEditor> opened = openReadingWhenShown();
        CCEditor& editor = *opened;
        editor.filesDropped({file}); // as the file manager hands it to a first start
        EXPECT_EQ(backend.sim.pedal(0).value(5, 0, 0), 77) << "nothing reaches an unread pedal";
        editor.windowShown();
        ASSERT_TRUE(window.fireTimer(editor, CCEditor::kStartReadTimer));
        EXPECT_EQ(backend.sim.pedal(0).value(5, 0, 0), 33) << "the file was loaded after the reading";
    }
}

namespace {

// The firmware offer comes from the editor, once, at the first poll tick
// after a pedal older than the carried image was read whole.
TEST_F(EditorWindowTest, AnOlderPedalIsOfferedTheFirmwareOnceAtTheNextTick) {
    const std::vector<uint8_t> image(firmware::kImageSize, 0x5A);
    editor->process()->firmware().setImage(image);
    window.fireTimer(*editor, CCEditor::kPollTimer);
    ASSERT_TRUE(dialogs.shown.empty()) << "a pedal of the carried version is offered nothing";

    backend.sim.unplug(0);
    backend.sim.plug(std::make_unique<sim::SimPedal>(sim::SimOptions{"Old", {1, 4, 0}, {1, 0, 4}, 2}));
    editor->devicesChanged();
    ASSERT_EQ(editor->process()->identity().firmwareVersion(), (std::array<uint8_t, 3>{1, 4, 0}));
    EXPECT_TRUE(dialogs.shown.empty()) << "not while the pedal is read";
    window.fireTimer(*editor, CCEditor::kPollTimer); // the player says No
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, firmware::offerText({1, 4, 0}));
    window.fireTimer(*editor, CCEditor::kPollTimer);
    EXPECT_EQ(dialogs.shown.size(), 1u) << "once";
    EXPECT_EQ(backend.framesOf(proto::kWrite, proto::kGroupDevice, proto::device::kEnterUpdate).size(), 0u);
}

} // namespace
