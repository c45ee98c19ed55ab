#include "editor/editor_window.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "editor/back_page.h"
#include "editor/editor_tags.h"
#include "editor/layout/page_builder.h"
#include "editor/library_tab.h"
#include "editor/prefs.h"
#include "link/librarian.h"
#include "link/protocol.h"
#include "link/tovan_process.h"
#include "model/pedal_parameters.h"
#include "model/pedal_values.h"
#include "resources/resource_ids.h"
#include "toolkit/controls/menu_selector_ex.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/static_text_ctrl.h"
#include "toolkit/controls/text_ctrl.h"
#include "toolkit/dialogs.h"
#include "toolkit/draw_context.h"
#include "toolkit/window_host.h"

using namespace tovan;

namespace {

constexpr const char* kMakerPage = "https://www.plavik.com";
constexpr const char* kDiscardChangesQuestion =
    "Do you want to discard any changes you have made\nand return to the current preset?";
constexpr const char* kDeleteQuestion = "Do you want to delete the current preset?";
// Message 519: a parameter change passed on to whoever listens to the editor.
constexpr uint16_t kMsgParameterChanged = 519;

// What the player is told when several files were dropped at once.
std::string notLoadedText(const std::vector<std::string>& paths) {
    auto fileName = [](const std::string& path) {
        const size_t slash = path.find_last_of('/');
        return slash == std::string::npos ? path : path.substr(slash + 1);
    };
    std::string text = "Only one file is loaded at a time: \"" + fileName(paths.front()) +
                       "\" was taken. These were not loaded:";
    for (size_t i = 1; i < paths.size(); ++i)
        text += "\n" + fileName(paths[i]);
    return text;
}

} // namespace

CCEditor::CCEditor(AudioEffect* effect, HidBackend& hid, std::span<const uint8_t> firmware,
                   const Clock* clock, bool fadeThread)
    : AEffEditor(effect), CCPageManager(CCRect{0, 0, kWidth, kHeight}, clock, fadeThread), backend(hid),
      firmwareImage(firmware) {}

CCEditor::~CCEditor() {
    Close();
    // The tree goes first: its controls are bound to the link owner's parameters.
    if (page != nullptr) removeChild(page);
    page = nullptr;
    showModal(nullptr);
    // What is left of the tree is torn down by the manager, without the link.
    attachWindow(nullptr, nullptr, nullptr);
    prefs.reset();
    link.reset();
}

bool CCEditor::Open(CCWindowHost* window) {
    auto lock = lockRedraw();
    if (!backBuffer) backBuffer = CCDrawContext::createOffscreen(kWidth, kHeight);
    attachWindow(window, backBuffer.get(), link.get());
    setOpen(true);
    Build();
    tickOn = window != nullptr && window->startTimer(kTickTimer, kTickPeriodMs);
    shown = visible = true;
    return true;
}

void CCEditor::Close() {
    auto lock = lockRedraw();
    if (CCWindowHost* window = windowHost()) {
        window->stopTimer(kTickTimer);
        window->stopTimer(kPollTimer);
    }
    tickOn = false;
    setOpen(false);
    attachWindow(nullptr, nullptr, link.get());
    backBuffer.reset();
    shown = visible = false;
}

void CCEditor::Build() {
    building = true;
    if (!link) {
        link = std::make_unique<TovanProcess>(backend);
        link->setListener(this);
        link->firmware().setImage(firmwareImage);
        link->setQuestions(&questions);
        link->Open();
        setEffect(link.get());
    }
    if (page == nullptr) {
        link->UnbindAll();
        page = addChild(std::make_unique<CBackPage>(GetRect(), this));
        page->setProcess(link.get());
        link->setView(page);
        page->pageShown();
        library = std::make_unique<CLibraryTab>(*this);
        library->attach(*page);
    }
    if (!prefs) {
        prefs = std::make_unique<CPrefs>(CPrefs::kKeyPath, this);
        prefs->createPreferences();
    } else {
        prefs->loadAll();
    }
    if (readWhenShown && !startReadPending && !link->session().isConnected()) {
        // The page as laid out, under the overlay that the reading fills in.
        startReadPending = true;
        page->setConnected(true);
        page->setBusy(true);
        page->showReading(0);
        // As soon as the loop runs, without waiting for the window to be on
        // screen: the reading's progress steps let the window come up.
        if (CCWindowHost* window = windowHost()) window->startTimer(kStartReadTimer, 1);
    } else if (!startReadPending) {
        const Operation operation(*this);
        link->session().connect();
        link->session().reloadLocked(true);
    }
    permissionCheckPending = true;
    building = false;
    if (CCWindowHost* window = windowHost()) window->startTimer(kPollTimer, kPollPeriodMs);
    invalidate(false);
}

CCEditor::Operation::Operation(CCEditor& editor) : editor(editor) {
    ++editor.operationDepth;
}

CCEditor::Operation::~Operation() {
    if (--editor.operationDepth != 0) return;
    editor.settleHistory();
    editor.runDeferred();
}

void CCEditor::whenIdle(std::function<void()> work) {
    if (operationRunning()) {
        deferredWork.push_back(std::move(work));
        return;
    }
    const Operation operation(*this);
    work();
}

void CCEditor::runDeferred() {
    // Each deferred piece runs as an operation of its own, so what it defers
    // in turn runs after it.
    while (operationDepth == 0 && (deviceChangeDeferred || !deferredWork.empty())) {
        const Operation operation(*this);
        if (deviceChangeDeferred) {
            deviceChangeDeferred = false;
            changeDevices();
            continue;
        }
        std::function<void()> work = std::move(deferredWork.front());
        deferredWork.erase(deferredWork.begin());
        work();
    }
}

void CCEditor::readPedalAtStart() {
    if (!startReadPending || !link) return;
    startReadPending = false;
    // The whole page as it stands, at once: it may not have been drawn on
    // screen yet, and the reading draws only its progress until it ends.
    presentRect(GetRect());
    if (CCWindowHost* window = windowHost()) window->markReached("start-read-begin");
    link->session().connect();
    link->session().reloadLocked(true);
    if (CCWindowHost* window = windowHost()) window->markReached("start-read-done");
    if (!filesAfterRead.empty()) filesDropped(std::exchange(filesAfterRead, {}));
}

void CCEditor::windowShown() {
    if (!startReadPending) return;
    // Soon, not now: the window's first frame goes out before the reading
    // keeps the loop busy.
    if (CCWindowHost* window = windowHost()) window->startTimer(kStartReadTimer, 1);
}

void CCEditor::animationStarted() {
    // A fade the fade thread starts comes from the end of another, which the
    // tick saw running (both happen under the redraw lock the tick takes).
    if (std::this_thread::get_id() != uiThread || tickOn || !isOpen()) return;
    if (CCWindowHost* window = windowHost()) tickOn = window->startTimer(kTickTimer, kTickPeriodMs);
}

bool CCEditor::onManagerMessage(CCMsg& msg) {
    if (msg.code == kMsgTimer && static_cast<uint32_t>(msg.first) == kTickTimer) {
        if (!animating()) {
            if (CCWindowHost* window = windowHost()) window->stopTimer(kTickTimer);
            tickOn = false;
        }
        return true;
    }
    if (msg.code == kMsgTimer && static_cast<uint32_t>(msg.first) == kStartReadTimer) {
        whenIdle([this] { readPedalAtStart(); });
        return true;
    }
    if (msg.code == kMsgValueChanged) {
        const Operation operation(*this);
        if (routeValueChange(msg)) return true;
    }
    // A tick that comes while an operation waits for the player is skipped:
    // the next one polls.
    if (msg.code == kMsgTimer && static_cast<uint32_t>(msg.first) == kPollTimer && link &&
        !operationRunning()) {
        const Operation operation(*this);
        if (permissionCheckPending) {
            permissionCheckPending = false;
            doctor.check(backend, link->session().attachedPedals());
        }
        link->session().idle();
        asking::checkFirmware(*link);
        // The library's lists follow the names the poll read.
        if (library && page != nullptr && page->currentTab() == kLibraryTab) library->refreshPresets();
    }
    return CCPageManager::onManagerMessage(msg);
}

bool CCEditor::routeValueChange(CCMsg& msg) {
    const int32_t tag = msg.first;
    // Arrived: what the page saw after it (and never passed on) is dropped with it.
    const auto arrived = std::find(changesOnTheirWay.rbegin(), changesOnTheirWay.rend(), tag);
    changesOnTheirWay.erase(arrived == changesOnTheirWay.rend() ? changesOnTheirWay.begin()
                                                                : std::prev(arrived.base()),
                            changesOnTheirWay.end());
    if (tag >= 0 && tag < kParameterSlots) {
        const bool player = link && !link->values().readingPedal() && !edits.applying();
        if (comparing && player && EditHistory::bookOf(tag) == EditHistory::Book::Preset) {
            // The stored preset is shown while comparing: it takes no edits.
            if (page != nullptr) page->setControlValueQuiet(tag, linkValue(tag));
            return true;
        }
        // Another preset ends the compare first, so its edits are asked about.
        if (comparing && player && tag == kCurrentPreset) endCompare();
        feedHistory(tag, msg.second);
        // The main page has already applied its rules: it sees every change on
        // its way up the tree.
        if (link) link->values().sendParameter(tag, static_cast<float>(msg.second));
        if (CCPageObject* parent = getListener()) {
            CCMsg passed = msg;
            passed.code = kMsgParameterChanged;
            parent->onMessage(passed);
        }
        return true;
    }
    if (tag == CPrefs::kPotControl || tag == CPrefs::kTopmost) {
        if (prefs) prefs->setInt(static_cast<uint16_t>(tag), msg.second, true);
        return true;
    }
    if (library && CLibraryTab::handles(tag)) {
        if (link && !link->session().isBusy()) library->valueChanged(tag, msg.second);
        return true;
    }
    if (tag >= etag::kFirstCommand && tag <= etag::kLastCommand) {
        command(tag, msg.second);
        return true;
    }
    return false;
}

void CCEditor::resetSetlistSlots() {
    if (!link || !link->session().isConnected()) return;
    link->exchange().write(proto::kGroupSetlist, proto::setlist::kSlotReset, {});
    if (page != nullptr)
        for (int32_t k = 0; k < ptag::kSetlistPageSlots; ++k)
            page->setControlValueQuiet(ptag::slotButton(k), 0);
}

void CCEditor::command(int32_t tag, int32_t value) {
    CCWindowHost* window = windowHost();
    // Buttons report their press and their release; a command runs once a click.
    const bool pressed = value != 0;
    if (tag == etag::kHeelOrientation || tag == etag::kToeOrientation) {
        if (link && !link->values().readingPedal())
            edits.commandRun(tag, value != 0 ? 0 : 1, value != 0 ? 1 : 0);
        return;
    }
    switch (tag) {
    case etag::kTabSelector:
        // The page has taken the new tab already: it sees the change on its way up.
        resetSetlistSlots();
        if (library && value == kLibraryTab) library->refresh();
        return;
    case etag::kMakerPage:
        if (value == 0) openWithShell(kMakerPage);
        return;
    case etag::kClose:
        if (value != 0) return;
        resetSetlistSlots();
        if (window != nullptr) window->requestClose();
        return;
    case etag::kSetTopmost:
        if (window != nullptr) window->setTopmost(value == 1);
        return;
    case etag::kMinimise:
        if (value != 0) return;
        resetSetlistSlots();
        if (window != nullptr) window->minimise();
        return;
    default:
        break;
    }
    if (!link || !pressed) return;
    switch (tag) {
    case etag::kUndo:
        undoStep(EditHistory::Book::Preset);
        return;
    case etag::kRedo:
        redoStep(EditHistory::Book::Preset);
        return;
    case etag::kCompare:
        toggleCompare();
        return;
    default:
        break;
    }
    // What acts on the preset acts on the edited one.
    if (comparing && tag != etag::kFirmwareUpdate) endCompare();
    switch (tag) {
    case etag::kExportOrBackup:
        if (page != nullptr && page->currentTab() == 0)
            asking::exportPreset(*link, fileFolder);
        else
            asking::saveBackup(*link, fileFolder);
        break;
    case etag::kFirmwareUpdate:
        asking::chooseAndUpdateFirmware(*link, fileFolder);
        break;
    case etag::kNextPreset:
        link->presets().step(true);
        break;
    case etag::kPreviousPreset:
        link->presets().step(false);
        break;
    case etag::kStorePreset:
        storeFromPanel();
        break;
    case etag::kRefreshPresetList:
        link->presets().markNamesChanged();
        closeStorePanel();
        break;
    case etag::kLoadFile:
        if (page == nullptr || page->currentTab() < kTabCount) asking::chooseAndLoadFile(*link, fileFolder);
        break;
    case etag::kStorePanel:
        showStorePanel();
        break;
    case etag::kDiscardChanges:
        if (confirmWarning(kDiscardChangesQuestion)) revertAsStep();
        break;
    case etag::kDeletePreset:
        if (confirmWarning(kDeleteQuestion)) deleteAsStep();
        break;
    case etag::kResetPedal:
        asking::resetPedal(*link);
        break;
    default:
        break;
    }
}

void CCEditor::showStorePanel() {
    if (page == nullptr) return;
    const CCSize size = layout::kStorePanelSize;
    const int32_t left = (kWidth - size.width) / 2;
    const int32_t top = 200;
    auto panel =
        std::make_unique<CCModalPanel>(left, top, left + size.width, top + size.height, resid::kDialogBox, 1);
    CCModalPanel* raw = panel.get();
    showModal(std::move(panel));
    PageBuilder::Hooks hooks;
    hooks.style = [this](TextStyle style) { return page->textStyle(style); };
    PageBuilder builder(std::move(hooks));
    builder.build(*raw, layout::storePanelRows());
    storePanel = raw;

    // The user slots, named as the preset menu names them.
    if (auto* slots = dynamic_cast<CCMenuSelectorEx*>(raw->findByTag(layout::kStoreSlotTag))) {
        if (auto* presets = dynamic_cast<CCMenuSelectorEx*>(page->object(Role::PresetMenu))) {
            std::vector<int32_t> values;
            presets->menu().collectValues(values);
            for (int32_t preset : values)
                if (const CCMenuItem* item = presets->menu().findValue(preset); item && isUserPreset(preset))
                    slots->menu().addItem(item->text, presetSlot(preset));
        }
        if (slots->menu().items().empty())
            for (int32_t slot = 0; slot < kPresetsPerBank; ++slot)
                slots->menu().addItem(presetLabel(kPresetsPerBank + slot), slot);
        const int32_t current = link ? link->presets().loaded() : 0;
        slots->setValue(isUserPreset(current) ? presetSlot(current) : 0, Notify::no, Redraw::yes,
                        SelfOnly::yes);
    }
    if (auto* name = dynamic_cast<CCTextCtrl*>(raw->findByTag(layout::kStoreNameTag)))
        name->setText(link ? link->presets().name() : "");
    if (auto* description = dynamic_cast<CCTextCtrl*>(raw->findByTag(layout::kStoreDescriptionTag)))
        description->setText(link ? link->presets().description() : "");
    // Showing drew the panel before its rows were in it.
    invalidateObject(raw, false);
}

void CCEditor::storeFromPanel() {
    if (storePanel == nullptr || modalPanel() != storePanel) return;
    auto* slot = dynamic_cast<CControl*>(storePanel->findByTag(layout::kStoreSlotTag));
    auto* name = dynamic_cast<CControl*>(storePanel->findByTag(layout::kStoreNameTag));
    auto* description = dynamic_cast<CControl*>(storePanel->findByTag(layout::kStoreDescriptionTag));
    if (slot == nullptr || name == nullptr || description == nullptr) return;
    const std::string nameText = name->getText().substr(0, 3);
    const std::string descriptionText = description->getText().substr(0, 20);
    const int32_t target = slot->getValue() % kPresetsPerBank;
    closeStorePanel();
    auto record = std::make_shared<EditHistory::SlotRecord>();
    record->store = true;
    record->slot = target;
    record->name = nameText;
    record->description = descriptionText;
    // What the slot holds now, so that the store can be taken back.
    const bool undoable = readSlotFor(*record);
    if (!link->presets().store(nameText.c_str(), descriptionText.c_str(), target)) {
        showError("The preset could not be stored: the pedal did not answer.");
        return;
    }
    slotChanged(undoable ? record : nullptr);
}

bool CCEditor::readSlotFor(EditHistory::SlotRecord& record) {
    record.preset = link->presets().loaded();
    record.edit = presetValues();
    const EditHistory::Suspend suspend(edits);
    const std::optional<PresetSlots::SlotContents> held = link->slots().readUserSlot(record.slot);
    if (held) {
        record.previousName = held->name;
        record.previousDescription = held->description;
        record.previousValues = held->values;
    }
    // Back to the preset and its edits, whatever the reading found.
    const bool back = link->slots().returnToEdit(record.preset, record.edit);
    return held && back;
}

void CCEditor::slotChanged(std::shared_ptr<const EditHistory::SlotRecord> record) {
    link->presets().markNamesChanged();
    {
        const EditHistory::Suspend suspend(edits);
        link->session().reload(false);
    }
    // The pedal's preset changed with the step: the preset's book goes on.
    historyPreset = link->presets().loaded();
    if (record) edits.slotStepDone(std::move(record));
}

std::map<int32_t, int32_t> CCEditor::presetValues() const {
    std::map<int32_t, int32_t> values;
    for (int32_t tag = ptag::kOutputLevel; tag <= ptag::kToeHeight + 2 * kFilterStride - 1; ++tag)
        values[tag] = linkValue(tag);
    return values;
}

void CCEditor::deleteAsStep() {
    const int32_t preset = link->presets().loaded();
    if (!isUserPreset(preset)) {
        link->presets().remove();
        return;
    }
    auto record = std::make_shared<EditHistory::SlotRecord>();
    record->store = false;
    record->slot = presetSlot(preset);
    const bool undoable = readSlotFor(*record);
    link->presets().remove();
    slotChanged(undoable ? record : nullptr);
}

void CCEditor::closeStorePanel() {
    if (storePanel != nullptr && modalPanel() == storePanel) showModal(nullptr);
    storePanel = nullptr;
}

void CCEditor::devicesChanged() {
    if (operationRunning()) {
        deviceChangeDeferred = true;
        return;
    }
    const Operation operation(*this);
    changeDevices();
}

void CCEditor::changeDevices() {
    if (!link) return;
    // Called from the window's loop, not through a dispatch: the device menu
    // and the page change under the redraw lock, as every dispatched message
    // does, since the fade thread composes under it.
    auto lock = lockRedraw();
    if (link->session().connect()) {
        link->session().reloadLocked(true);
        link->session().pollStatus();
    }
    doctor.check(backend, link->session().attachedPedals());
}

void CCEditor::filesDropped(const std::vector<std::string>& paths) {
    // One file at a time: the first one dropped is loaded, and the player
    // learns which were not.
    if (startReadPending) {
        // The pedal is not read yet: a file loaded now would meet no pedal.
        filesAfterRead = paths;
        return;
    }
    const Operation operation(*this);
    if (paths.empty() || !link) return;
    asking::loadFile(*link, paths.front());
    if (paths.size() > 1) showInfo(notLoadedText(paths));
}

// The history: what the editor sees of every change, and undo, redo and compare.

namespace {

constexpr int32_t kKeyShift = 16;
constexpr int32_t kKeyControl = 17;
constexpr int32_t kFirstPresetTag = ptag::kOutputLevel;
constexpr int32_t kLastPresetTag = ptag::kToeHeight + 2 * kFilterStride - 1;

// The tags the history keeps values of, in one list.
const std::vector<int32_t>& historyTags() {
    static const std::vector<int32_t> tags = [] {
        std::vector<int32_t> all;
        for (int32_t tag = 0; tag < kParameterSlots; ++tag)
            if (EditHistory::bookOf(tag)) all.push_back(tag);
        return all;
    }();
    return tags;
}

// "HeelFrequency" as a caption: "HEEL HZ", as the page labels frequencies.
std::string spacedUpper(std::string_view name) {
    std::string out;
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (i > 0 && c >= 'A' && c <= 'Z' && name[i - 1] >= 'a' && name[i - 1] <= 'z') out += ' ';
        out += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    if (const size_t at = out.find("FREQUENCY"); at != std::string::npos) out.replace(at, 9, "HZ");
    return out;
}

} // namespace

int32_t CCEditor::linkValue(int32_t tag) const {
    if (!link || !link->hasParameter(tag)) return 0;
    return static_cast<int32_t>(std::trunc(link->value(tag)));
}

void CCEditor::feedHistory(int32_t tag, int32_t value) {
    if (!link || !EditHistory::bookOf(tag)) return;
    if (!link->values().readingPedal())
        edits.playerChanged(tag, value);
    else if (link->values().followingPedalChanges() && !comparing)
        edits.pedalChanged(tag, value);
    else
        edits.valueShown(tag, value);
}

void CCEditor::settleHistory() {
    if (!link) return;
    if (changesOnTheirWay.empty()) edits.endAction();
    const int32_t preset = link->session().isConnected() ? link->presets().loaded() : -1;
    const std::string pedal =
        link->session().isConnected() ? link->session().currentPedal().path() : std::string();
    if (pedal != historyPedal || link->backup().restoresBegun() != historyRestores) {
        historyRestores = link->backup().restoresBegun();
        // Another pedal, or one restored from a backup: nothing of the history applies.
        historyPedal = pedal;
        edits.resetGlobal();
        historyPreset = -2;
    }
    if (preset != historyPreset) {
        if (comparing) {
            // The pedal left the preset: there is nothing to go back to.
            comparing = false;
            comparedEdit.clear();
            setPresetControlsEnabled(true);
        }
        historyPreset = preset;
        edits.resetPreset(link->presets().isEdited());
    } else {
        edits.baselineEdited(link->presets().isEdited());
    }
    // The device parameters as the link holds them; the setlist slots are
    // known from what their selectors reported (the link keeps them by setlist).
    for (int32_t tag : historyTags())
        if (tag <= kLastDeviceParameter) edits.setKnown(tag, linkValue(tag));
    showHistory();
}

EditHistory::Book CCEditor::currentBook() const {
    // The library's steps are slot steps, kept in the preset's book.
    return page == nullptr || page->currentTab() == 0 || page->currentTab() == kLibraryTab
               ? EditHistory::Book::Preset
               : EditHistory::Book::Global;
}

bool CCEditor::undoStep(EditHistory::Book book) {
    if (comparing || !link || !link->session().isConnected() || (page != nullptr && page->isBusy()))
        return false;
    return edits.undo(book);
}

bool CCEditor::redoStep(EditHistory::Book book) {
    if (comparing || !link || !link->session().isConnected() || (page != nullptr && page->isBusy()))
        return false;
    return edits.redo(book);
}

std::string CCEditor::describe(const EditHistory::Step& step) const {
    if (step.slot && !step.slot->what.empty()) return step.slot->what;
    if (step.slot) {
        char text[32];
        std::snprintf(text, sizeof text, "%s P%02d", step.slot->store ? "STORE" : "DELETE",
                      static_cast<int>(step.slot->slot));
        return text;
    }
    if (step.command != 0) return step.command == etag::kHeelOrientation ? "HEEL SIDE" : "TOE SIDE";
    if (step.changes.empty()) return {};
    // The player's own change arrives last: what the page's rules moved with it comes first.
    const EditHistory::Change& change = step.changes.back();
    const int32_t tag = change.tag;
    std::string name = page != nullptr ? page->captionOf(tag) : std::string();
    if (name.empty()) {
        if (const std::optional<DeviceField> field = deviceFieldOf(tag))
            name = spacedUpper(field->name);
        else if (tag >= ptag::kFirstSlotPreset && tag < ptag::kFirstSlotButton)
            name = (tag < ptag::kFirstSlotProgram ? "SLOT " : "PROGRAM ") +
                   std::to_string((tag - ptag::kFirstSlotPreset) % ptag::kSetlistPageSlots + 1);
    }
    if (tag >= ptag::kToeHeight && tag <= kLastPresetTag)
        name = (tag < ptag::kToeHeight + kFilterStride ? "F1 " : "F2 ") + name;
    // The value as its control shows it when the pedal holds it now.
    std::string value = linkValue(tag) == change.after && link ? link->formatText(tag) : std::string();
    if (value.empty()) value = std::to_string(change.after);
    std::string text = name + " " + value;
    if (step.changes.size() > 1) text += " +" + std::to_string(step.changes.size() - 1);
    if (step.origin == EditHistory::Origin::Pedal) text += " (pedal)";
    return text;
}

std::string CCEditor::undoCaption() const {
    const EditHistory::Step* step = edits.nextUndo(currentBook());
    return step != nullptr ? "Undo: " + describe(*step) : std::string();
}

std::string CCEditor::redoCaption() const {
    const EditHistory::Step* step = edits.nextRedo(currentBook());
    return step != nullptr ? "Redo: " + describe(*step) : std::string();
}

void CCEditor::showHistory() {
    if (page == nullptr || !page->isBuilt()) return;
    const bool usable = link && link->session().isConnected() && !page->isBusy();
    auto enable = [&](Role role, bool on) {
        if (auto* button = dynamic_cast<CControl*>(page->object(role)))
            if (button->isEnabled() != on) button->setEnabled(on);
    };
    enable(Role::UndoButton, usable && !comparing && edits.canUndo(EditHistory::Book::Preset));
    enable(Role::RedoButton, usable && !comparing && edits.canRedo(EditHistory::Book::Preset));
    enable(Role::CompareButton,
           usable && (comparing || link->presets().isEdited() || edits.canUndo(EditHistory::Book::Preset)));
    if (auto* lamp = dynamic_cast<CControl*>(page->object(Role::CompareLamp)))
        if ((lamp->getValue() != 0) != comparing)
            lamp->setValue(comparing ? 1 : 0, Notify::no, Redraw::yes, SelfOnly::yes);
    if (auto* caption = dynamic_cast<CCStaticTextCtrl*>(page->object(Role::HistoryCaption))) {
        std::string text = comparing ? std::string("Stored preset") : undoCaption();
        if (text.empty() && !comparing) text = redoCaption();
        if (caption->getText() != text) {
            caption->setText(text);
            caption->invalidate(false);
        }
    }
}

bool CCEditor::toggleCompare() {
    if (comparing) {
        endCompare();
        return true;
    }
    return beginCompare();
}

bool CCEditor::beginCompare() {
    if (!link || !link->session().isConnected() || (page != nullptr && page->isBusy())) return false;
    std::map<int32_t, int32_t> edit;
    for (int32_t tag = kFirstPresetTag; tag <= kLastPresetTag; ++tag)
        edit[tag] = linkValue(tag);
    {
        const EditHistory::Suspend suspend(edits);
        if (!link->presets().revert()) return false;
        link->session().reload(false);
    }
    comparedEdit = std::move(edit);
    comparing = true;
    setPresetControlsEnabled(false);
    return true;
}

void CCEditor::endCompare() {
    if (!comparing) return;
    comparing = false;
    setPresetControlsEnabled(true);
    EditHistory::Step back;
    for (const auto& [tag, value] : comparedEdit)
        if (linkValue(tag) != value) back.changes.push_back({tag, linkValue(tag), value});
    comparedEdit.clear();
    {
        const EditHistory::Suspend suspend(edits);
        for (const auto& [tag, value] : EditHistory::writeOrder(back, true))
            writeValue(tag, value);
    }
    // The pedal's edited flag comes back with the edits.
    if (link) link->session().pollStatus();
}

void CCEditor::setPresetControlsEnabled(bool on) {
    if (page == nullptr) return;
    const bool enabled = on && !page->isBusy();
    for (int32_t tag = kFirstPresetTag; tag <= kLastPresetTag; ++tag)
        page->setControlEnabled(tag, enabled);
    for (int32_t tag :
         {etag::kSwapFilter1, etag::kSwapFilter1 + 1, etag::kHeelOrientation, etag::kToeOrientation})
        page->setControlEnabled(tag, enabled);
}

void CCEditor::revertAsStep() {
    std::vector<EditHistory::Change> changes;
    for (int32_t tag = kFirstPresetTag; tag <= kLastPresetTag; ++tag)
        changes.push_back({tag, linkValue(tag), 0});
    {
        const EditHistory::Suspend suspend(edits);
        if (!link->presets().revert()) return;
        // The stored values at once, so the step knows what the revert changed.
        link->session().reload(false);
    }
    for (EditHistory::Change& change : changes)
        change.after = linkValue(change.tag);
    edits.stepDone(EditHistory::Book::Preset, std::move(changes));
}

void CCEditor::writeValue(int32_t tag, int32_t value) {
    // Through the control, as the player's edit goes: the page's rules and
    // displays follow, and the change reaches the pedal as one write.
    if (page != nullptr && page->hasControl(tag))
        page->setControlValue(tag, value);
    else if (link)
        link->values().sendParameter(tag, static_cast<float>(value));
}

void CCEditor::runCommand(int32_t tag, int32_t value) {
    if (page != nullptr) page->setControlValue(tag, value);
}

void CCEditor::discardEdits() {
    if (link) link->presets().revert();
}

bool CCEditor::writeSlotStates(const std::vector<EditHistory::SlotRecord::SlotState>& states) {
    std::vector<Librarian::Planned> plan;
    for (const EditHistory::SlotRecord::SlotState& state : states)
        plan.push_back({state.slot, {state.name, state.description, state.values}});
    Librarian librarian(*link);
    const Librarian::Outcome outcome = librarian.write(plan, false);
    slotChanged(nullptr);
    if (!outcome.ok) showError("The library could not finish: " + outcome.failure);
    return outcome.ok;
}

bool CCEditor::undoSlot(const EditHistory::SlotRecord& record) {
    if (!link || !link->session().isConnected()) return false;
    if (!record.before.empty()) return writeSlotStates(record.before);
    std::map<int32_t, int32_t> buffer = presetValues();
    const PresetSlots::SlotContents held{record.previousName, record.previousDescription,
                                         record.previousValues};
    const bool restored = link->slots().writeUserSlot(record.slot, held, buffer);
    // The pedal goes back to the preset and the edits it was on.
    const bool back = restored && link->slots().returnToEdit(record.preset, record.edit);
    slotChanged(nullptr);
    return back;
}

bool CCEditor::redoSlot(const EditHistory::SlotRecord& record) {
    if (!link || !link->session().isConnected()) return false;
    if (!record.after.empty()) return writeSlotStates(record.after);
    bool done = false;
    if (record.store)
        done = link->presets().store(record.name.c_str(), record.description.c_str(), record.slot);
    else if (link->presets().loaded() == kPresetsPerBank + record.slot) {
        link->presets().remove();
        done = true;
    }
    slotChanged(nullptr);
    return done;
}

void CCEditor::endGestureNow() {
    if (!gestureOpen) return;
    gestureOpen = false;
    edits.endGesture();
    showHistory();
}

bool CCEditor::leftPressed(const CCPointerEvent& event) {
    endGestureNow();
    edits.beginGesture();
    gestureOpen = true;
    const bool claimed = CCPageManager::leftPressed(event);
    if (!claimed) endGestureNow();
    return claimed;
}

void CCEditor::leftReleased(const CCPointerEvent& event) {
    CCPageManager::leftReleased(event);
    // A chart point dragged writes its values on the tick: the last of them
    // belong to the drag, so they go now.
    if (gestureOpen && page != nullptr && !operationRunning()) {
        auto lock = lockRedraw();
        const Operation operation(*this);
        page->commitPendingEdits();
    }
    endGestureNow();
}

void CCEditor::captureLost() {
    CCPageManager::captureLost();
    endGestureNow();
}

void CCEditor::keyPressed(int32_t virtualKey) {
    if (virtualKey == kKeyControl) controlDown = true;
    if (virtualKey == kKeyShift) shiftDown = true;
    const bool undoKey = controlDown && virtualKey == 'Z' && !shiftDown;
    const bool redoKey = controlDown && (virtualKey == 'Y' || (virtualKey == 'Z' && shiftDown));
    const bool compareKey = !controlDown && virtualKey == 'C';
    if ((undoKey || redoKey || compareKey) && !operationRunning()) {
        auto lock = lockRedraw();
        const Operation operation(*this);
        if (compareKey)
            toggleCompare();
        else if (undoKey)
            undoStep(currentBook());
        else
            redoStep(currentBook());
        return;
    }
    CCPageManager::keyPressed(virtualKey);
}

void CCEditor::keyReleased(int32_t virtualKey) {
    if (virtualKey == kKeyControl) controlDown = false;
    if (virtualKey == kKeyShift) shiftDown = false;
    CCPageManager::keyReleased(virtualKey);
}

void CCEditor::focusLost() {
    // Keys released elsewhere are not seen.
    controlDown = shiftDown = false;
    CCPageManager::focusLost();
}
