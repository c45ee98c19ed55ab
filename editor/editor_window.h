#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "editor/edit_history.h"
#include "editor/pedal_questions.h"
#include "editor/permission_doctor.h"
#include "model/audio_effect.h"
#include "toolkit/page_manager.h"

class CBackPage;
class CCDrawContext;
class CPrefs;
class TovanProcess;
class Clock;
namespace tovan {
class HidBackend;
}

// The editor: it owns the page tree in one window, the link owner with the
// pedal, and the editor's own settings. It turns the window's input into
// toolkit messages (as the page manager, the window's client) and routes every
// value change: parameters to the pedal, settings to the preferences, and
// commands (tags 181-208) to what the player asked for.
class CLibraryTab;

class CCEditor : public AEffEditor, public CCPageManager, private EditHistory::Target {
public:
    static constexpr int32_t kWidth = 640;
    static constexpr int32_t kHeight = 650;
    // The pedal poll and the editor's own tick. The tick runs only while
    // something on the page moves by itself (a fade, a flashing button): its
    // first expiry that finds nothing moving stops it, and the start of a fade
    // or of a control's timer starts it again. The poll always runs.
    static constexpr uint32_t kPollTimer = 4099;
    static constexpr uint32_t kPollPeriodMs = 100;
    static constexpr uint32_t kTickTimer = 8192;
    static constexpr uint32_t kTickPeriodMs = 20;
    // Fires once, as soon as the loop runs, to read the pedal into the page.
    static constexpr uint32_t kStartReadTimer = 4090;

    // `firmware` is the image the program carries, offered to pedals with older
    // firmware. The clock times the fades; without the fade thread (tests) fades
    // advance only when run by hand.
    CCEditor(AudioEffect* effect, tovan::HidBackend& backend, std::span<const uint8_t> firmware = {},
             const Clock* clock = nullptr, bool fadeThread = true);
    ~CCEditor() override;

    // The page rectangle.
    CCRect GetRect() const { return {0, 0, kWidth, kHeight}; }
    // Attaches the window, makes the back buffer, builds and starts the tick.
    bool Open(CCWindowHost* window);
    void Close();
    bool IsOpen() const { return isOpen(); }
    // The link owner, the page, the preferences, the connection and the reload.
    void Build();
    // Open builds the page without reading the pedal; the pedal is read as
    // soon as the loop runs, under the busy overlay with the reading's
    // progress, whose steps let the window come up while the reading goes on.
    void readPedalWhenShown() { readWhenShown = true; }
    void windowShown() override;
    void readPedalAtStart();
    bool open(void* window) override { return Open(static_cast<CCWindowHost*>(window)); }
    void close() override { Close(); }

    // Pedals were plugged in or out: connect to the new one and read it, and
    // say so once when one is there but cannot be opened.
    void devicesChanged();

    bool onManagerMessage(CCMsg& msg) override;
    void animationStarted() override;
    // Whether the tick is running (it sleeps while nothing moves).
    bool tickRunning() const { return tickOn; }
    void filesDropped(const std::vector<std::string>& paths) override;
    // The window's input, with the history's steps around it: a press to its
    // release is one step; Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo, C compares.
    bool leftPressed(const CCPointerEvent& event) override;
    void leftReleased(const CCPointerEvent& event) override;
    void captureLost() override;
    void keyPressed(int32_t virtualKey) override;
    void keyReleased(int32_t virtualKey) override;
    void focusLost() override;

    // The player's steps and the compare of the edited preset with the stored one.
    EditHistory& history() { return edits; }
    // The book the keys act on: the preset's on the preset tab, else the globals'.
    EditHistory::Book currentBook() const;
    bool undoStep(EditHistory::Book book);
    bool redoStep(EditHistory::Book book);
    bool isComparing() const { return comparing; }
    // Toggles between the edited preset and the stored one; false when it cannot.
    bool toggleCompare();
    // What the next undo and redo do, as the caption says it ("Undo: LEVEL 80").
    std::string undoCaption() const;
    std::string redoCaption() const;

    // Whether an operation on the pedal is running: an edit, a command, a
    // poll, a device change or work handed in. A modal question runs a nested
    // main loop, so the poll tick, device changes and handed-in work can arrive
    // in the middle of one; they wait until it ends, since the pedal's answers
    // carry nothing that tells two exchanges apart.
    bool operationRunning() const { return operationDepth > 0; }
    // Runs `work` at once when no operation runs, else as soon as the running
    // one ends; either way as an operation of its own.
    void whenIdle(std::function<void()> work);

    TovanProcess* process() const { return link.get(); }
    CLibraryTab* libraryTab() const { return library.get(); }
    // The library wrote slots: the pedal is read again and, with a record,
    // the operation is one step of the preset's history.
    void librarianStepDone(std::shared_ptr<const EditHistory::SlotRecord> record) {
        slotChanged(std::move(record));
    }
    CBackPage* mainPage() const { return page; }
    CPrefs* preferences() const { return prefs.get(); }
    bool isBuilding() const { return building; }

    // The page saw a change on its way up to the editor: the changes its rules
    // make meanwhile reach the editor first, and are one action with it.
    void changeOnItsWay(int32_t tag) { changesOnTheirWay.push_back(tag); }

    class Operation {
    public:
        explicit Operation(CCEditor& editor);
        ~Operation();
        Operation(const Operation&) = delete;
        Operation& operator=(const Operation&) = delete;

    private:
        CCEditor& editor;
    };

private:
    // What waited for the operations to end.
    void runDeferred();
    void changeDevices();

    bool routeValueChange(CCMsg& msg);
    // Tells the history what a value change was: the player's, the pedal's own, or a reading.
    void feedHistory(int32_t tag, int32_t value);
    // After each operation: the step closes, a new preset starts its book, the
    // buttons, caption and lamp follow.
    void settleHistory();
    void showHistory();
    std::string describe(const EditHistory::Step& step) const;
    int32_t linkValue(int32_t tag) const;
    bool beginCompare();
    void endCompare();
    void setPresetControlsEnabled(bool on);
    // REVERT as a step: the discard, the stored values read at once, and the
    // difference kept, so that an undo writes the edits back.
    void revertAsStep();
    void endGestureNow();
    // Store and delete as steps: the slot read first (the pedal then back on
    // its preset and edits), the pedal read again after.
    bool readSlotFor(EditHistory::SlotRecord& record);
    void slotChanged(std::shared_ptr<const EditHistory::SlotRecord> record);
    void deleteAsStep();
    std::map<int32_t, int32_t> presetValues() const;
    // The history's target.
    void writeValue(int32_t tag, int32_t value) override;
    void runCommand(int32_t tag, int32_t value) override;
    void discardEdits() override;
    bool undoSlot(const EditHistory::SlotRecord& record) override;
    // Writes slots back as a library step held them.
    bool writeSlotStates(const std::vector<EditHistory::SlotRecord::SlotState>& states);
    bool redoSlot(const EditHistory::SlotRecord& record) override;
    void command(int32_t tag, int32_t value);
    // The setlist slot reset the window commands send, and the slot buttons cleared.
    void resetSetlistSlots();
    void showStorePanel();
    void storeFromPanel();
    void closeStorePanel();

    tovan::HidBackend& backend;
    std::span<const uint8_t> firmwareImage;
    std::unique_ptr<TovanProcess> link;
    CBackPage* page = nullptr; // owned by the tree
    std::unique_ptr<CPrefs> prefs;
    std::unique_ptr<CLibraryTab> library;
    std::unique_ptr<CCDrawContext> backBuffer;
    CCPageObject* storePanel = nullptr; // the manager's modal panel while shown
    PermissionDoctor doctor;
    // What the link needs the player to decide, asked in message boxes.
    asking::DialogQuestions questions;
    // Where the file dialogs open next.
    std::string fileFolder;
    // The permission check waits for the first tick, when the window is on screen.
    bool permissionCheckPending = false;
    bool building = false;
    bool readWhenShown = false;
    bool startReadPending = false;
    // Files handed over before the start's reading: loaded once it is done.
    std::vector<std::string> filesAfterRead;
    int operationDepth = 0;
    bool deviceChangeDeferred = false;
    std::vector<std::function<void()>> deferredWork;
    bool shown = false;
    bool visible = false;
    bool tickOn = false;
    // The thread that built the editor: the only one that starts the tick.
    std::thread::id uiThread = std::this_thread::get_id();

    EditHistory edits{*this};
    // The preset the preset's book belongs to (-1: none yet).
    int32_t historyPreset = -1;
    std::string historyPedal;
    uint32_t historyRestores = 0;
    bool gestureOpen = false;
    bool controlDown = false;
    bool shiftDown = false;
    bool comparing = false;
    // The edit buffer while the stored preset is heard.
    std::map<int32_t, int32_t> comparedEdit;
    std::vector<int32_t> changesOnTheirWay;
};
