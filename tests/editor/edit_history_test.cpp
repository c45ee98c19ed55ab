// Undo, redo and compare in the whole editor on the simulated pedal: the
// player's steps made through the window's input, the exchanges counted.
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/back_page.h"
#include "editor/edit_history.h"
#include "editor/editor_tags.h"
#include "editor/editor_window.h"
#include "editor/layout/layout_row.h"
#include "editor/library_list.h"
#include "editor/library_tab.h"
#include "editor/pedal_questions.h"
#include "editor/tovan_filter_ctrl.h"
#include "editor_test_support.h"
#include "link/tovan_process.h"
#include "model/pedal_parameters.h"
#include "platform/dialogs.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/scripted_dialogs.h"
#include "platform/headless/scripted_popups.h"
#include "platform/popup_menu.h"
#include "tests/link/pedal_test_support.h"
#include "tests/platform/temp_folder.h"
#include "toolkit/controls/menu_selector_ex.h"
#include "toolkit/controls/pot_control.h"
#include "toolkit/controls/static_text_ctrl.h"
#include "toolkit/controls/text_ctrl.h"

using namespace tovan;
using Book = EditHistory::Book;

namespace {

// Every value of the pedal's edit buffer (commands 5-7), by parameter.
using Values = std::map<int32_t, int16_t>;

class EditHistoryTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        previousDialogs = setDialogHost(&dialogs);
        previousBoxes = setEditBoxHost(&boxes);
        previousMenus = setPopupMenuHost(&menus);
        editor = std::make_unique<CCEditor>(nullptr, backend, std::span<const uint8_t>{}, &clock, false);
        ASSERT_TRUE(editor->Open(&window));
        editor->process()->exchange().setSleeper([](std::chrono::milliseconds) {});
        setPotDragMode(kPotDragLinear);
        poll();
        backend.clear();
    }
    void TearDown() override {
        editor.reset();
        setPopupMenuHost(previousMenus);
        setEditBoxHost(previousBoxes);
        setDialogHost(previousDialogs);
        setPotDragMode(kPotDragHorizontal);
        EditorTest::TearDown();
    }

    CControl* control(int32_t tag) { return dynamic_cast<CControl*>(editor->mainPage()->findByTag(tag)); }
    CControl* role(Role r) { return dynamic_cast<CControl*>(editor->mainPage()->object(r)); }
    CCPointerEvent at(CCPoint p) {
        return {.x = p.x, .y = p.y, .screenX = p.x + kOrigin.x, .screenY = p.y + kOrigin.y};
    }
    CCPointerEvent over(int32_t tag) { return at(centre(control(tag)->getBounds())); }
    void click(int32_t tag) {
        editor->leftPressed(over(tag));
        editor->leftReleased(over(tag));
    }
    void poll() {
        clock.now += 100;
        window.fireTimer(*editor, CCEditor::kPollTimer);
    }
    void key(int32_t virtualKey, bool control = false, bool shift = false) {
        if (control) editor->keyPressed(17);
        if (shift) editor->keyPressed(16);
        editor->keyPressed(virtualKey);
        editor->keyReleased(virtualKey);
        if (shift) editor->keyReleased(16);
        if (control) editor->keyReleased(17);
    }
    sim::SimPedal& pedal() { return backend.sim.pedal(0); }
    Values editBuffer() {
        Values values;
        for (const DeviceField& row : kDeviceMap)
            if (row.command != 8) values[row.index] = pedal().value(row.command, row.filter, row.item);
        return values;
    }
    size_t steps(Book book = Book::Preset) { return editor->history().position(book); }

    // The player's actions, each one step.
    void wheel(int32_t tag, int32_t notches) {
        CCPointerEvent e = over(tag);
        e.wheelDelta = 120 * notches;
        editor->wheelTurned(e);
    }
    void drag(int32_t tag, int32_t up) {
        CCPointerEvent e = over(tag);
        ASSERT_TRUE(editor->leftPressed(e));
        for (int i = 0; i < 3; ++i) {
            e.screenY -= up;
            e.y -= up;
            editor->pointerMoved(e);
        }
        editor->leftReleased(e);
    }
    void type(int32_t tag, const std::string& text) {
        auto* field = static_cast<CCTextCtrl*>(control(tag));
        ASSERT_TRUE(field->beginEdit());
        boxes.current()->type(text);
        boxes.current()->pressReturn();
    }
    void choose(int32_t tag, size_t item) {
        auto* menu = static_cast<CCMenuSelectorEx*>(control(tag));
        const auto& items = menu->menu().items();
        // Another item than the one chosen now.
        size_t k = item % items.size();
        if (items[k].value == menu->getValue()) k = (k + 1) % items.size();
        menus.chooseNext({items[k].text});
        click(tag);
    }
    void dragChartPoint(int32_t dx, int32_t dy) {
        CTovanFilterCtrl* display = editor->mainPage()->filterDisplay();
        // Filter 1's heel, or filter 2's where the balance hides filter 1.
        const CCRect hit = display->getHitRect(control(ptag::kFilterBalance)->getValue() < 100 ? 0 : 2);
        CCPointerEvent e = at(centre(hit));
        ASSERT_TRUE(editor->leftPressed(e)) << "a handle is under the pointer";
        for (int i = 0; i < 2; ++i) {
            CCPointerEvent moved = e;
            moved.x += dx * (i + 1);
            moved.y += dy * (i + 1);
            moved.screenX += dx * (i + 1);
            moved.screenY += dy * (i + 1);
            editor->pointerMoved(moved);
        }
        editor->leftReleased(e);
    }

    static constexpr CCPoint kOrigin{100, 80};
    pedaltest::LoggingBackend backend;
    SteppedClock clock;
    HeadlessWindow window{640, 650, kOrigin};
    ScriptedDialogs dialogs;
    ScriptedEditBoxes boxes;
    ScriptedPopupMenus menus;
    DialogHost* previousDialogs = nullptr;
    EditBoxHost* previousBoxes = nullptr;
    PopupMenuHost* previousMenus = nullptr;
    std::unique_ptr<CCEditor> editor;
};

TEST_F(EditHistoryTest, ThirtyStepsUndoneToTheStoredPresetAndRedoneExactly) {
    const Values stored = editBuffer();
    ASSERT_FALSE(pedal().edited());
    // The LFO panel, for its menu (a step too).
    control(ptag::kControlMode)->setValue(1, Notify::yes, Redraw::yes, SelfOnly::yes);
    ASSERT_EQ(steps(), 1u);
    std::mt19937 random(27);
    // Not the balance: it hides filters and their chart points.
    const int32_t knobs[] = {ptag::kOutputLevel, ptag::kDryLevel, ptag::kDrive, ptag::kSmoothing};
    const char* kinds[] = {"wheel", "drag", "menu", "typed", "chart", "swap"};
    for (int n = 0; n < 30; ++n) {
        const size_t before = steps();
        const int kind = n < 6 ? n : static_cast<int>(random() % 6);
        const int32_t knob = knobs[random() % 4];
        // Away from the knob's ends, so that every turn changes it.
        const CControl* turned = control(knob);
        const int32_t way = 2 * turned->getValue() < turned->getMinimum() + turned->getMaximum() ? 1 : -1;
        switch (kind) {
        case 0:
            wheel(knob, way);
            break;
        case 1:
            drag(knob, 8 * way);
            break;
        case 2:
            choose(ptag::kSyncSource, steps());
            break;
        case 3:
            type(random() % 2 ? ptag::kHeelFrequency : ptag::kToeFrequency, std::to_string(200 + 10 * n));
            break;
        case 4:
            dragChartPoint(3 + n % 3, -2);
            break;
        default:
            click(etag::kSwapFilter1);
            break;
        }
        if (n % 4 == 0) poll();
        if (n == 15) {
            // A knob turned on the pedal itself is a step of its own.
            ASSERT_TRUE(pedal().turnControl(5, 0, 2, 33));
            poll();
            ASSERT_EQ(steps(), before + 2) << "the pedal's change after " << kinds[kind];
            continue;
        }
        ASSERT_EQ(steps(), before + 1) << kinds[kind] << " at " << n;
    }
    poll();
    ASSERT_TRUE(pedal().edited());
    const Values edited = editBuffer();
    const size_t total = steps();
    ASSERT_EQ(total, 32u);

    for (size_t n = 0; n < total; ++n) {
        backend.clear();
        const EditHistory::Step* step = editor->history().nextUndo(Book::Preset);
        ASSERT_NE(step, nullptr);
        const size_t changes = step->changes.size();
        key('Z', true);
        const size_t discard = n + 1 == total ? 1 : 0;
        ASSERT_EQ(backend.writeCount(), changes + discard) << "undo " << n << ": one write a parameter";
        EXPECT_EQ(backend.frames().size(), changes + discard) << "and nothing else";
        if (n % 5 == 0) poll();
    }
    EXPECT_EQ(backend.framesOf(proto::kWrite, proto::kGroupPreset, proto::preset::kRevert).size(), 1u)
        << "the discard once everything is undone";
    poll();
    EXPECT_EQ(editBuffer(), stored);
    EXPECT_FALSE(pedal().edited());
    EXPECT_FALSE(editor->history().canUndo(Book::Preset));

    for (size_t n = 0; n < total; ++n) {
        backend.clear();
        const size_t changes = editor->history().nextRedo(Book::Preset)->changes.size();
        key(n % 2 ? 'Y' : 'Z', true, n % 2 == 0);
        ASSERT_EQ(backend.writeCount(), changes) << "redo " << n;
        EXPECT_EQ(backend.frames().size(), changes);
    }
    EXPECT_EQ(editBuffer(), edited);
    poll();
    EXPECT_TRUE(pedal().edited());
    EXPECT_EQ(control(ptag::kDryLevel)->getValue(), pedal().value(5, 0, 2)) << "the screen shows the pedal";
}

TEST_F(EditHistoryTest, ADragIsOneStepAndAReadingIsNone) {
    const int32_t level = control(ptag::kOutputLevel)->getValue();
    backend.clear();
    drag(ptag::kOutputLevel, 3);
    const size_t writes = backend.writeCount();
    ASSERT_GT(writes, 1u) << "a write a move";
    EXPECT_EQ(steps(), 1u);
    ASSERT_EQ(editor->history().nextUndo(Book::Preset)->changes.size(), 1u);
    // Polls, a reload and a pedal that steps presets and back read and record nothing.
    poll();
    editor->process()->session().reloadLocked(false);
    poll();
    EXPECT_EQ(steps(), 1u);
    backend.clear();
    ASSERT_TRUE(editor->undoStep(Book::Preset));
    EXPECT_EQ(backend.writeCount(), 2u) << "the value, then the discard";
    EXPECT_EQ(control(ptag::kOutputLevel)->getValue(), level);
    EXPECT_EQ(pedal().value(5, 0, 0), level);
    // A new step after an undo: the redo is gone.
    wheel(ptag::kDrive, 1);
    EXPECT_FALSE(editor->history().canRedo(Book::Preset));
    EXPECT_EQ(steps(), 1u);
}

TEST_F(EditHistoryTest, ARuleThatMovesAPartnerIsTakenBackWithIt) {
    control(ptag::kControlMode)->setValue(1, Notify::yes, Redraw::yes, SelfOnly::yes);
    control(ptag::kTrapezoidRise)->setValue(50, Notify::yes, Redraw::yes, SelfOnly::yes);
    control(ptag::kTrapezoidFall)->setValue(40, Notify::yes, Redraw::yes, SelfOnly::yes);
    backend.clear();
    // Rise 80 pushes fall down to 20: one step of two parameters.
    control(ptag::kTrapezoidRise)->setValue(80, Notify::yes, Redraw::yes, SelfOnly::yes);
    ASSERT_EQ(control(ptag::kTrapezoidFall)->getValue(), 20);
    ASSERT_EQ(editor->history().nextUndo(Book::Preset)->changes.size(), 2u);
    backend.clear();
    key('Z', true);
    EXPECT_EQ(backend.writeCount(), 2u) << "no rule moved a partner on the way back";
    EXPECT_EQ(control(ptag::kTrapezoidRise)->getValue(), 50);
    EXPECT_EQ(control(ptag::kTrapezoidFall)->getValue(), 40);
    backend.clear();
    key('Y', true);
    EXPECT_EQ(backend.writeCount(), 2u);
    EXPECT_EQ(control(ptag::kTrapezoidRise)->getValue(), 80);
    EXPECT_EQ(control(ptag::kTrapezoidFall)->getValue(), 20);
}

TEST_F(EditHistoryTest, AnOrientationChangeIsOneStepTakenBackByItsOwnExchange) {
    control(etag::kViewSwitch)
        ->setValue(CTovanFilterCtrl::kVowelChart, Notify::yes, Redraw::yes, SelfOnly::yes);
    // Filter 2's heel unlike filter 1's, so that the exchange moves something.
    type(ptag::ofFilter(ptag::kHeelFrequency, 1), "1234");
    const Values before = editBuffer();
    const int32_t heel = control(etag::kHeelOrientation)->getValue();
    const size_t at = steps();
    backend.clear();
    click(etag::kHeelOrientation);
    ASSERT_NE(control(etag::kHeelOrientation)->getValue(), heel);
    ASSERT_EQ(steps(), at + 1);
    const size_t exchanged = backend.writeCount();
    ASSERT_GE(exchanged, 2u);
    EXPECT_EQ(pedal().value(6, 0, 3), 1234) << "the heels changed places";
    backend.clear();
    key('Z', true);
    EXPECT_EQ(control(etag::kHeelOrientation)->getValue(), heel);
    EXPECT_EQ(editBuffer(), before);
    EXPECT_EQ(backend.writeCount(), exchanged) << "the same writes the exchange made";
    key('Y', true);
    EXPECT_NE(control(etag::kHeelOrientation)->getValue(), heel);
    EXPECT_EQ(pedal().value(6, 0, 3), 1234);
}

TEST_F(EditHistoryTest, ThePresetsHistoryEndsWithThePresetAndTheGlobalsLastTheSession) {
    wheel(ptag::kDrive, 1);
    editor->mainPage()->setTab(3);
    control(kDisplayBrightness)
        ->setValue(control(kDisplayBrightness)->getValue() - 1, Notify::yes, Redraw::yes, SelfOnly::yes);
    EXPECT_EQ(steps(Book::Global), 1u);
    EXPECT_EQ(steps(Book::Preset), 1u);
    editor->mainPage()->setTab(0);
    dialogs.answerNext(MessageAnswer::Yes);
    click(etag::kNextPreset);
    poll();
    ASSERT_EQ(pedal().activePreset(), 1u);
    EXPECT_EQ(steps(Book::Preset), 0u);
    EXPECT_FALSE(role(Role::UndoButton)->isEnabled());
    // Selected on the pedal itself, too.
    wheel(ptag::kDrive, 1);
    pedal().stepPreset(true);
    poll();
    EXPECT_EQ(steps(Book::Preset), 0u);
    EXPECT_EQ(editor->history().steps(Book::Preset), 0u) << "no redo of another preset's steps";
    // The globals' steps are still there, on their own tabs' keys.
    editor->mainPage()->setTab(3);
    const int32_t brightness = pedal().value(8, 0, 0);
    backend.clear();
    key('Z', true);
    EXPECT_EQ(pedal().value(8, 0, 0), brightness + 1);
    EXPECT_EQ(backend.writeCount(), 1u) << "no discard for a global";
}

TEST_F(EditHistoryTest, SetlistEditsAreGlobalStepsAndARestoreEndsBothHistories) {
    editor->mainPage()->setTab(1);
    control(kActiveSetlist)->setValue(2, Notify::yes, Redraw::yes, SelfOnly::yes); // setlist A
    const uint8_t held = pedal().setlist(1).preset[0];
    const size_t at = steps(Book::Global);
    backend.clear();
    control(112)->setValue(held == 5 ? 6 : 5, Notify::yes, Redraw::yes, SelfOnly::yes); // slot 1's preset
    EXPECT_EQ(steps(Book::Global), at + 1) << "filling the slots on the setlist's change was no step";
    ASSERT_NE(pedal().setlist(1).preset[0], held);
    backend.clear();
    key('Z', true);
    EXPECT_EQ(pedal().setlist(1).preset[0], held);
    EXPECT_EQ(backend.writeCount(), 1u);
    EXPECT_EQ(steps(Book::Preset), 0u) << "the preset's book is apart";

    test::TempFolder folder;
    const std::string backup = folder.path() + "/all.tovan_all";
    ASSERT_TRUE(asking::saveBackupTo(*editor->process(), backup));
    editor->mainPage()->setTab(0);
    wheel(ptag::kDrive, 1);
    ASSERT_EQ(steps(Book::Preset), 1u);
    dialogs.answerNext(MessageAnswer::Yes);
    dialogs.answerNext(MessageAnswer::Yes);
    editor->filesDropped({backup});
    poll();
    EXPECT_EQ(editor->history().steps(Book::Preset), 0u) << "the restore rewrote the presets";
    EXPECT_EQ(editor->history().steps(Book::Global), 0u) << "and the globals";
}

TEST_F(EditHistoryTest, TheButtonsActOnlyWhenTheyCanAndSayWhatTheyTakeBack) {
    auto* caption = dynamic_cast<CCStaticTextCtrl*>(editor->mainPage()->object(Role::HistoryCaption));
    ASSERT_NE(caption, nullptr);
    EXPECT_FALSE(role(Role::UndoButton)->isEnabled());
    EXPECT_FALSE(role(Role::RedoButton)->isEnabled());
    EXPECT_FALSE(role(Role::CompareButton)->isEnabled());
    EXPECT_EQ(caption->getText(), "");
    control(ptag::kOutputLevel)->setValue(81, Notify::yes, Redraw::yes, SelfOnly::yes);
    EXPECT_TRUE(role(Role::UndoButton)->isEnabled());
    EXPECT_FALSE(role(Role::RedoButton)->isEnabled());
    EXPECT_TRUE(role(Role::CompareButton)->isEnabled());
    EXPECT_EQ(caption->getText(), "Undo: LEVEL 81");
    click(etag::kUndo);
    EXPECT_FALSE(role(Role::UndoButton)->isEnabled());
    EXPECT_TRUE(role(Role::RedoButton)->isEnabled());
    EXPECT_EQ(caption->getText(), "Redo: LEVEL 81");
    click(etag::kRedo);
    EXPECT_EQ(pedal().value(5, 0, 0), 81);
    EXPECT_EQ(caption->getText(), "Undo: LEVEL 81");
    ASSERT_TRUE(pedal().turnControl(5, 0, 4, 7)); // drive, on the pedal
    poll();
    EXPECT_EQ(caption->getText(), "Undo: DRIVE 7 (pedal)");
    type(ptag::kHeelFrequency, "777");
    EXPECT_EQ(caption->getText(), "Undo: F1 HEEL HZ 777") << "a field's caption from its parameter";
}

TEST_F(EditHistoryTest, CompareThereAndBackLeavesTheEditBufferAsItWas) {
    const Values stored = editBuffer();
    wheel(ptag::kOutputLevel, 2);
    wheel(ptag::kDrive, -3);
    type(ptag::kHeelFrequency, "730");
    poll();
    const Values edited = editBuffer();
    ASSERT_NE(edited, stored);
    backend.clear();
    key('C');
    ASSERT_TRUE(editor->isComparing());
    EXPECT_EQ(backend.writeCount(), 1u) << "the discard, then reads";
    EXPECT_EQ(backend.framesOf(proto::kWrite, proto::kGroupPreset, proto::preset::kRevert).size(), 1u);
    EXPECT_EQ(editBuffer(), stored);
    EXPECT_EQ(role(Role::CompareLamp)->getValue(), 1) << "the lamp says so";
    EXPECT_EQ(control(ptag::kOutputLevel)->getValue(), stored.at(ptag::kOutputLevel));
    EXPECT_EQ(control(ptag::kHeelFrequency)->getValue(), stored.at(ptag::kHeelFrequency));
    EXPECT_FALSE(role(Role::UndoButton)->isEnabled()) << "undo waits";
    // The controls take no edits, and undo does nothing meanwhile.
    backend.clear();
    wheel(ptag::kOutputLevel, 1);
    key('Z', true);
    poll();
    EXPECT_EQ(backend.writeCount(), 0u);
    EXPECT_EQ(control(ptag::kOutputLevel)->getValue(), stored.at(ptag::kOutputLevel));
    EXPECT_EQ(steps(), 3u);
    backend.clear();
    click(etag::kCompare);
    EXPECT_FALSE(editor->isComparing());
    EXPECT_EQ(role(Role::CompareLamp)->getValue(), 0);
    EXPECT_EQ(backend.writeCount(), 3u) << "one write a parameter that differs";
    EXPECT_EQ(editBuffer(), edited);
    EXPECT_TRUE(pedal().edited());
    EXPECT_EQ(control(ptag::kOutputLevel)->getValue(), edited.at(ptag::kOutputLevel));
    // The history goes on where it was.
    ASSERT_TRUE(editor->undoStep(Book::Preset));
    EXPECT_EQ(pedal().value(6, 0, 3), stored.at(ptag::kHeelFrequency));
}

TEST_F(EditHistoryTest, AnotherPresetEndsTheCompareFirstAndAsksAboutTheEdits) {
    wheel(ptag::kOutputLevel, 2);
    poll();
    key('C');
    ASSERT_TRUE(editor->isComparing());
    dialogs.answerNext(MessageAnswer::No);
    click(etag::kNextPreset);
    EXPECT_FALSE(editor->isComparing());
    ASSERT_EQ(dialogs.shown.size(), 1u) << "the edits were back, so the question came";
    EXPECT_EQ(pedal().activePreset(), 0u);
    EXPECT_TRUE(pedal().edited());
}

// The header with its six buttons and the caption, and the compare lamp lit,
// kept as pictures to look at.
TEST_F(EditHistoryTest, TheButtonsCaptionAndLampAsDrawn) {
    auto draw = [&](const std::string& name) -> const CCBitmap& {
        // The enabled and disabled looks fade in: let them arrive.
        for (int pass = 0; pass < 50; ++pass) {
            clock.now += 20;
            editor->fades().runPass();
        }
        editor->redraw(*editor->drawContext(), nullptr);
        EXPECT_TRUE(editor->drawContext()->writePng(std::string(TOVAN_TEST_OUTPUT_DIR) + "/" + name));
        return editor->drawContext()->surface();
    };
    auto amber = [](const CCBitmap& s, CCRect r) {
        for (int32_t y = r.top; y < r.bottom; ++y)
            for (int32_t x = r.left; x < r.right; ++x)
                if (const CCPixel c = s.pixelAt(x, y); c.red > 200 && c.green > 100 && c.blue < 90)
                    return true;
        return false;
    };
    const CCRect lamp = editor->mainPage()->object(Role::CompareLamp)->getBounds();
    EXPECT_FALSE(amber(draw("history_start.png"), lamp));
    wheel(ptag::kOutputLevel, -3);
    poll();
    EXPECT_FALSE(amber(draw("history_edited.png"), lamp));
    key('C');
    EXPECT_TRUE(amber(draw("history_compare.png"), lamp)) << "lit while comparing";
    key('C');
    EXPECT_FALSE(amber(draw("history_back.png"), lamp));
    // A long caption: a filter 2 value and the partner its rule moved.
    control(ptag::ofFilter(ptag::kControlMode, 1))->setValue(1, Notify::yes, Redraw::yes, SelfOnly::yes);
    control(ptag::ofFilter(ptag::kTrapezoidFall, 1))->setValue(60, Notify::yes, Redraw::yes, SelfOnly::yes);
    control(ptag::ofFilter(ptag::kTrapezoidRise, 1))->setValue(80, Notify::yes, Redraw::yes, SelfOnly::yes);
    draw("history_long_caption.png");
    EXPECT_EQ(dynamic_cast<CCStaticTextCtrl*>(editor->mainPage()->object(Role::HistoryCaption))->getText(),
              "Undo: F2 RISE 80 +1")
        << "the change the player made, not the one its rule made";
}

// The pedal's whole contents, as a backup reads them.
std::vector<uint8_t> backupOf(TovanProcess& link) {
    const BackupRestore::BackupRead read = link.backup().read();
    if (!read.failure.empty() || read.bytes.empty()) throw std::runtime_error("no backup: " + read.failure);
    return read.bytes;
}

TEST_F(EditHistoryTest, AStoreIntoAnOccupiedSlotIsTakenBackWholeAndDoneAgain) {
    TovanProcess& link = *editor->process();
    const std::vector<uint8_t> before = backupOf(link);
    wheel(ptag::kOutputLevel, -2);
    type(ptag::kToeFrequency, "2100");
    poll();
    const Values edit = editBuffer();
    ASSERT_TRUE(pedal().edited());
    const std::string occupied = std::string(pedal().userPreset(12).name.data(), 3);
    ASSERT_NE(occupied, "---");

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
    poll();
    ASSERT_EQ(std::string(pedal().userPreset(12).name.data(), 3), "Fat");
    EXPECT_EQ(pedal().activePreset(), 112u);
    EXPECT_EQ(editBuffer(), edit) << "the edits were stored";
    EXPECT_EQ(dynamic_cast<CCStaticTextCtrl*>(editor->mainPage()->object(Role::HistoryCaption))->getText(),
              "Undo: STORE P12");

    key('Z', true);
    poll();
    EXPECT_EQ(pedal().activePreset(), 0u) << "back on the preset it was on";
    EXPECT_EQ(editBuffer(), edit) << "with its edits";
    EXPECT_TRUE(pedal().edited());
    EXPECT_EQ(control(ptag::kToeFrequency)->getValue(), 2100);
    EXPECT_EQ(backupOf(link), before) << "the slot holds what it held, and nothing else moved";

    key('Y', true);
    poll();
    EXPECT_EQ(std::string(pedal().userPreset(12).name.data(), 3), "Fat");
    EXPECT_EQ(pedal().activePreset(), 112u);
    // And back through the store to the steps before it.
    key('Z', true);
    key('Z', true);
    key('Z', true);
    poll();
    EXPECT_EQ(pedal().activePreset(), 0u);
    EXPECT_FALSE(pedal().edited());
}

TEST_F(EditHistoryTest, ADeleteIsTakenBackWholeAndDoneAgain) {
    TovanProcess& link = *editor->process();
    link.presets().select(105);
    poll();
    ASSERT_EQ(pedal().activePreset(), 105u);
    const std::vector<uint8_t> before = backupOf(link);
    wheel(ptag::kDrive, 1);
    poll();
    const Values edit = editBuffer();
    dialogs.answerNext(MessageAnswer::Ok);
    click(etag::kDeletePreset);
    poll();
    ASSERT_EQ(std::string(pedal().userPreset(5).name.data(), 3), "---");
    key('Z', true);
    poll();
    EXPECT_EQ(pedal().activePreset(), 105u);
    EXPECT_EQ(editBuffer(), edit);
    EXPECT_TRUE(pedal().edited());
    EXPECT_EQ(backupOf(link), before);
    key('Y', true);
    poll();
    EXPECT_EQ(std::string(pedal().userPreset(5).name.data(), 3), "---");
}

TEST(EditHistoryOrder, ValuesThatGoDownAreWrittenFirstBothWays) {
    EditHistory::Step step;
    step.changes = {{31, 50, 80}, {32, 40, 20}, {9, 10, 5}};
    using Writes = std::vector<std::pair<int32_t, int32_t>>;
    EXPECT_EQ(EditHistory::writeOrder(step, true), (Writes{{32, 20}, {9, 5}, {31, 80}}));
    EXPECT_EQ(EditHistory::writeOrder(step, false), (Writes{{31, 50}, {9, 10}, {32, 40}}));
}

} // namespace

TEST_F(EditHistoryTest, ASwapDraggedOnTheLibraryTabIsOneStepTakenBackAndDoneAgain) {
    TovanProcess& link = *editor->process();
    const std::vector<uint8_t> before = backupOf(link);
    wheel(ptag::kOutputLevel, -2);
    poll();
    const Values edit = editBuffer();
    ASSERT_TRUE(pedal().edited());
    const auto third = pedal().userPreset(3).name;
    const auto seventh = pedal().userPreset(7).name;
    ASSERT_NE(third, seventh);

    control(etag::kTabSelector)->setValue(kLibraryTab, Notify::yes, Redraw::yes, SelfOnly::no);
    poll();
    auto* list = dynamic_cast<CLibraryList*>(editor->mainPage()->object(Role::UserList));
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(list->isVisible());
    const CCPoint from = centre(list->rowRect(3));
    const CCPoint to = centre(list->rowRect(7));
    ASSERT_TRUE(editor->leftPressed(at(from)));
    for (int k = 1; k <= 4; ++k)
        editor->pointerMoved(at({from.x, from.y + (to.y - from.y) * k / 4}));
    editor->leftReleased(at(to));
    poll();
    EXPECT_EQ(pedal().userPreset(3).name, seventh);
    EXPECT_EQ(pedal().userPreset(7).name, third);
    EXPECT_EQ(pedal().activePreset(), 0u) << "back on the preset it was on";
    EXPECT_EQ(editBuffer(), edit) << "with its edits";
    EXPECT_EQ(dynamic_cast<CCStaticTextCtrl*>(editor->mainPage()->object(Role::HistoryCaption))->getText(),
              "Undo: SWAP P03 P07");
    EXPECT_EQ(list->shownRows()[3]->columns[1], std::string(seventh.data(), 3)) << "the list follows";

    key('Z', true);
    poll();
    EXPECT_EQ(editBuffer(), edit);
    EXPECT_EQ(backupOf(link), before) << "both slots hold what they held, and nothing else moved";
    key('Y', true);
    poll();
    EXPECT_EQ(pedal().userPreset(3).name, seventh);
    EXPECT_EQ(pedal().userPreset(7).name, third);
}

TEST_F(EditHistoryTest, ADragRestingAtTheListsEdgeScrollsItToAFarSlot) {
    const auto first = pedal().userPreset(0).name;
    const auto far = pedal().userPreset(80).name;
    ASSERT_NE(first, far);
    control(etag::kTabSelector)->setValue(kLibraryTab, Notify::yes, Redraw::yes, SelfOnly::no);
    poll();
    auto* list = dynamic_cast<CLibraryList*>(editor->mainPage()->object(Role::UserList));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->rowRect(80), CCRect{}) << "P80 starts scrolled away";
    const CCPoint from = centre(list->rowRect(0));
    ASSERT_TRUE(editor->leftPressed(at(from)));
    editor->pointerMoved(at({from.x, from.y + 10}));
    // Rests on the last row, moving a pixel to and fro, until P80 is two rows
    // clear of the edge (where a move onto it no longer scrolls).
    const int32_t bottom = list->getBounds().bottom;
    auto clear = [&] {
        const CCRect r = list->rowRect(80);
        return r != CCRect{} && r.bottom < bottom - 2 * CLibraryList::kRowHeight;
    };
    for (int move = 0; !clear() && move < 300; ++move)
        editor->pointerMoved(at({from.x, bottom - 4 - move % 2}));
    ASSERT_TRUE(clear()) << "the list did not scroll to P80";
    const CCPoint to = centre(list->rowRect(80));
    editor->pointerMoved(at(to));
    ASSERT_EQ(centre(list->rowRect(80)), to) << "a move over a middle row scrolls nothing";
    editor->leftReleased(at(to));
    poll();
    EXPECT_EQ(pedal().userPreset(0).name, far);
    EXPECT_EQ(pedal().userPreset(80).name, first);
}

TEST_F(EditHistoryTest, ACopyDraggedWithCtrlIsAskedFirstAndTakenBack) {
    control(etag::kTabSelector)->setValue(kLibraryTab, Notify::yes, Redraw::yes, SelfOnly::no);
    poll();
    auto* list = dynamic_cast<CLibraryList*>(editor->mainPage()->object(Role::UserList));
    ASSERT_NE(list, nullptr);
    const auto source = pedal().userPreset(2);
    const auto target = pedal().userPreset(9);
    ASSERT_NE(source.name, target.name);
    auto ctrlDrag = [&] {
        CCPointerEvent from = at(centre(list->rowRect(2)));
        CCPointerEvent to = at(centre(list->rowRect(9)));
        from.control = to.control = true;
        ASSERT_TRUE(editor->leftPressed(from));
        from.y += 6;
        from.screenY += 6;
        editor->pointerMoved(from);
        editor->leftReleased(to);
        poll();
    };
    // The press with Ctrl added P02 to the selection; a second press takes it away again.
    list->select({});
    dialogs.answerNext(MessageAnswer::No);
    ctrlDrag();
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_NE(dialogs.shown.back().text.find("Copy P02"), std::string::npos) << dialogs.shown.back().text;
    EXPECT_EQ(pedal().userPreset(9).name, target.name) << "a No writes nothing";

    list->select({});
    dialogs.answerNext(MessageAnswer::Yes);
    ctrlDrag();
    EXPECT_EQ(pedal().userPreset(9).name, source.name);
    EXPECT_EQ(pedal().userPreset(2).name, source.name);
    key('Z', true);
    poll();
    EXPECT_EQ(pedal().userPreset(9).name, target.name);
}

TEST_F(EditHistoryTest, LibraryFilesAreSearchedAsTypedExportedAndLoadedByDragging) {
    tovan::test::TempFolder folder;
    CLibraryTab& library = *editor->libraryTab();
    library.setFolder(folder.path());
    control(etag::kTabSelector)->setValue(kLibraryTab, Notify::yes, Redraw::yes, SelfOnly::no);
    poll();
    auto* slots = dynamic_cast<CLibraryList*>(editor->mainPage()->object(Role::UserList));
    auto* files = dynamic_cast<CLibraryList*>(editor->mainPage()->object(Role::LibraryList));
    ASSERT_TRUE(slots != nullptr && files != nullptr);
    auto dragTo = [&](CCPoint from, CCPoint to) {
        ASSERT_TRUE(editor->leftPressed(at(from)));
        editor->pointerMoved(at({from.x + 3, from.y + 5}));
        editor->pointerMoved(at(to));
        editor->leftReleased(at(to));
        poll();
    };
    // P04 into the library: exported under its slot, name and description.
    dragTo(centre(slots->rowRect(4)), centre(files->getBounds()));
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.path() + "/P04 BRT - Bright lead cut.tovan"));
    std::ofstream(folder.path() + "/x cut.tovan") << "PLAVIK";
    library.refreshLibrary();
    ASSERT_EQ(files->shownRows().size(), 2u);
    EXPECT_TRUE(files->shownRows()[1]->dimmed) << "a damaged file is marked";

    auto* search = static_cast<CCTextCtrl*>(editor->mainPage()->object(Role::LibrarySearch));
    ASSERT_TRUE(search->beginEdit());
    boxes.current()->type("brig");
    EXPECT_EQ(files->shownRows().size(), 1u) << "filtered as it is typed, before Return";
    boxes.current()->type("");
    EXPECT_EQ(files->shownRows().size(), 2u);
    boxes.current()->pressReturn();

    // The file onto P20, which holds a preset: asked, then on the pedal.
    const auto held = pedal().userPreset(21).name;
    dialogs.answerNext(MessageAnswer::Yes);
    dragTo(centre(files->rowRect(0)), centre(slots->rowRect(20)));
    EXPECT_EQ(std::string(pedal().userPreset(20).name.data(), 3), "BRT");
    // The damaged one is refused with a message, and P21 keeps its preset.
    files->select({});
    const size_t shown = dialogs.shown.size();
    dragTo(centre(files->rowRect(1)), centre(slots->rowRect(21)));
    EXPECT_EQ(pedal().userPreset(21).name, held);
    ASSERT_EQ(dialogs.shown.size(), shown + 1);
    EXPECT_NE(dialogs.shown.back().text.find("x cut.tovan"), std::string::npos) << dialogs.shown.back().text;
}
