#include "editor/editor_window.h"

#include <string>
#include <utility>

#include "editor/back_page.h"
#include "editor/editor_tags.h"
#include "editor/layout/page_builder.h"
#include "editor/prefs.h"
#include "link/protocol.h"
#include "link/tovan_process.h"
#include "model/pedal_parameters.h"
#include "model/pedal_values.h"
#include "resources/resource_ids.h"
#include "toolkit/controls/menu_selector_ex.h"
#include "toolkit/controls/panel.h"
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
constexpr int32_t kFirstSlotButtonTag = 152;
constexpr int32_t kSlotButtons = 20;
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
    if (window != nullptr) window->startTimer(kTickTimer, kTickPeriodMs);
    shown = visible = true;
    return true;
}

void CCEditor::Close() {
    auto lock = lockRedraw();
    if (CCWindowHost* window = windowHost()) {
        window->stopTimer(kTickTimer);
        window->stopTimer(kPollTimer);
    }
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
        link->setFirmwareImage(firmwareImage);
        link->Open();
        setEffect(link.get());
    }
    if (page == nullptr) {
        link->UnbindAll();
        page = addChild(std::make_unique<CBackPage>(GetRect(), this));
        page->setProcess(link.get());
        link->setView(page);
        page->pageShown();
    }
    if (!prefs) {
        prefs = std::make_unique<CPrefs>(CPrefs::kKeyPath, this);
        prefs->createPreferences();
    } else {
        prefs->loadAll();
    }
    link->setPrefs(prefs.get());
    if (readWhenShown && !startReadPending && !link->isConnected()) {
        // The page as laid out, under the overlay that the reading fills in.
        startReadPending = true;
        page->setConnected(true);
        page->setBusy(true);
        page->showReading(0);
        // Read anyway should the window never say it is on screen.
        if (CCWindowHost* window = windowHost()) window->startTimer(kStartReadTimer, 500);
    } else if (!startReadPending) {
        const Operation operation(*this);
        link->connectPedal();
        link->reloadLocked(true);
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
    if (--editor.operationDepth == 0) editor.runDeferred();
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
    link->connectPedal();
    link->reloadLocked(true);
    if (!filesAfterRead.empty()) filesDropped(std::exchange(filesAfterRead, {}));
}

void CCEditor::windowShown() {
    if (!startReadPending) return;
    // Soon, not now: the window's first frame goes out before the reading
    // keeps the loop busy.
    if (CCWindowHost* window = windowHost()) window->startTimer(kStartReadTimer, 1);
}

bool CCEditor::onManagerMessage(CCMsg& msg) {
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
            doctor.check(backend, link->attachedPedals());
        }
        link->idle();
    }
    return CCPageManager::onManagerMessage(msg);
}

bool CCEditor::routeValueChange(CCMsg& msg) {
    const int32_t tag = msg.first;
    if (tag >= 0 && tag < kParameterSlots) {
        // The main page has already applied its rules: it sees every change on
        // its way up the tree.
        if (link) link->sendParameter(tag, static_cast<float>(msg.second));
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
    if (tag >= etag::kFirstCommand && tag <= etag::kLastCommand) {
        command(tag, msg.second);
        return true;
    }
    return false;
}

void CCEditor::resetSetlistSlots() {
    if (!link || !link->isConnected()) return;
    link->write(proto::kGroupSetlist, proto::setlist::kSlotReset, {});
    if (page != nullptr)
        for (int32_t k = 0; k < kSlotButtons; ++k)
            page->setControlValueQuiet(kFirstSlotButtonTag + k, 0);
}

void CCEditor::command(int32_t tag, int32_t value) {
    CCWindowHost* window = windowHost();
    // Buttons report their press and their release; a command runs once a click.
    const bool pressed = value != 0;
    switch (tag) {
    case etag::kTabSelector:
        // The page has taken the new tab already: it sees the change on its way up.
        resetSetlistSlots();
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
    case etag::kExportOrBackup:
        if (page != nullptr && page->currentTab() == 0)
            link->exportPreset();
        else
            link->saveBackup();
        break;
    case etag::kFirmwareUpdate:
        link->chooseAndUpdateFirmware();
        break;
    case etag::kNextPreset:
        link->stepPreset(true);
        break;
    case etag::kPreviousPreset:
        link->stepPreset(false);
        break;
    case etag::kStorePreset:
        storeFromPanel();
        break;
    case etag::kRefreshPresetList:
        link->setNamesChanged();
        closeStorePanel();
        break;
    case etag::kLoadFile:
        if (page == nullptr || page->currentTab() <= 3) link->chooseAndLoadFile();
        break;
    case etag::kStorePanel:
        showStorePanel();
        break;
    case etag::kDiscardChanges:
        if (confirmWarning(kDiscardChangesQuestion)) link->revertPreset();
        break;
    case etag::kDeletePreset:
        if (confirmWarning(kDeleteQuestion)) link->deletePreset();
        break;
    case etag::kResetPedal:
        link->resetPedal();
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
        const int32_t current = link ? link->loadedPreset() : 0;
        slots->setValue(isUserPreset(current) ? presetSlot(current) : 0, false, true, true);
    }
    if (auto* name = dynamic_cast<CCTextCtrl*>(raw->findByTag(layout::kStoreNameTag)))
        name->setText(link ? link->presetName() : "");
    if (auto* description = dynamic_cast<CCTextCtrl*>(raw->findByTag(layout::kStoreDescriptionTag)))
        description->setText(link ? link->presetDescription() : "");
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
    if (link->storePreset(nameText.c_str(), descriptionText.c_str(), slot->getValue() % kPresetsPerBank))
        link->setNamesChanged();
    else
        showError("The preset could not be stored: the pedal did not answer.");
    closeStorePanel();
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
    if (link->connectPedal()) {
        link->reloadLocked(true);
        link->pollStatus();
    }
    doctor.check(backend, link->attachedPedals());
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
    link->loadFile(paths.front());
    if (paths.size() > 1) showInfo(notLoadedText(paths));
}
