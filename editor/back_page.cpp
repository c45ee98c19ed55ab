#include "editor/back_page.h"

#include <cstdio>
#include <string>

#include "editor/editor_tags.h"
#include "editor/editor_window.h"
#include "editor/lfo_waveform.h"
#include "editor/library_list.h"
#include "editor/tovan_filter_ctrl.h"
#include "link/tovan_process.h"
#include "model/pedal_parameters.h"
#include "model/pedal_values.h"
#include "resources/resource_ids.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/simple_progress.h"
#include "toolkit/controls/static_text_ctrl.h"
#include "toolkit/font.h"
#include "toolkit/page_manager.h"
#include "toolkit/palette.h"

using namespace ptag;

namespace {

constexpr CCColour kCream = palette::kCream;
constexpr CCColour kLabelColour = palette::kLabel;
constexpr CCColour kAmber = palette::kAmber;
constexpr CCRect kPlot{21, 16, 558, 161};

CCFontInterface* styleFont(uint8_t size, bool bold, CCColour colour) {
    CCFontDescriptor d;
    d.size = size;
    d.style[0] = bold ? 1 : 0;
    d.colour = colour;
    return getFont(d);
}

int32_t filterOf(int32_t tag) {
    return tag >= kToeHeight + kFilterStride ? 1 : 0;
}

// The display's set targets for the heel and toe parameters of filter 1; filter
// 2's are six higher.
int32_t pointTarget(int32_t filterOneTag) {
    switch (filterOneTag) {
    case kHeelHeight:
        return CTovanFilterCtrl::kFilter1Heel + 2;
    case kHeelFrequency:
        return CTovanFilterCtrl::kFilter1Heel + 1;
    case kToeHeight:
        return CTovanFilterCtrl::kFilter1Toe + 2;
    case kToeFrequency:
        return CTovanFilterCtrl::kFilter1Toe + 1;
    default:
        return 0;
    }
}

// A version triple as the settings tab shows it; nothing for an unknown one.
std::string versionText(const std::array<uint8_t, 3>& version) {
    if (version[0] == 255) return {};
    char text[16];
    std::snprintf(text, sizeof text, "%01d.%01d.%02d", version[0], version[1], version[2]);
    return text;
}

// The commands a busy pedal turns off: from the library folder's to the last.
bool isCommandTag(int32_t tag) {
    return tag >= etag::kLibraryFolder && tag <= etag::kLastCommand;
}

} // namespace

CBackPage::CBackPage(CCRect bounds, CCEditor* owner)
    : CCPage(bounds.left, bounds.top, bounds.right, bounds.bottom, kMainPageId, resid::kPageBody),
      PageTreeView(static_cast<CCPageObject&>(*this)), editor(owner) {
    makeStyles();
}

CBackPage::~CBackPage() = default;

void CBackPage::makeStyles() {
    auto set = [&](TextStyle style, CCFontInterface* f, int32_t alignment) {
        styles[static_cast<size_t>(style)] = {f, alignment};
    };
    set(TextStyle::Value, styleFont(7, false, kCream), kAlignCentre);
    set(TextStyle::ValueLeft, styleFont(7, false, kCream), kAlignLeftShortened);
    set(TextStyle::SmallValue, styleFont(6, false, kCream), kAlignCentre);
    set(TextStyle::Label, styleFont(7, true, kLabelColour), kAlignLeft);
    set(TextStyle::KnobLabel, styleFont(6, true, kLabelColour), kAlignCentre);
    set(TextStyle::Heading, styleFont(7, true, kAmber), kAlignLeft);
    set(TextStyle::PresetNumber, styleFont(26, true, kCream), kAlignCentre);
    set(TextStyle::Caption, styleFont(7, false, kCream), kAlignRight);
    set(TextStyle::Message, styleFont(7, false, kLabelColour), kAlignCentre);
    set(TextStyle::Info, styleFont(7, false, kCream), kAlignLeft);
}

void CBackPage::pageShown() {
    if (built) return;
    buildControls();
    built = true;
    // Each filter's mode panel and control source start consistent with the
    // controls' values.
    for (int32_t tag : {kControlMode, kControlSource, ofFilter(kControlMode, 1), ofFilter(kControlSource, 1)})
        if (CControl* control = firstControl(tag))
            control->setValueForced(0, Notify::yes, Redraw::yes, SelfOnly::yes);
    if (CControl* tabs = firstControl(etag::kTabSelector))
        tabs->setValueForced(0, Notify::no, Redraw::yes, SelfOnly::no);
    showPresetNumber(0);
    updateLfoVisibility();
    setInfoText(Role::EditorVersionText,
                versionText({TOVAN_VERSION_MAJOR, TOVAN_VERSION_MINOR, TOVAN_VERSION_PATCH}));
}

void CBackPage::setInfoText(Role role, const std::string& text) {
    if (auto* field = dynamic_cast<CCStaticTextCtrl*>(parts.get(role))) field->setText(text);
}

void CBackPage::buildControls() {
    PageBuilder::Hooks hooks;
    hooks.style = [this](TextStyle style) { return textStyle(style); };
    hooks.filterDisplay = [](CCRect rect) -> std::unique_ptr<CControl> {
        return std::make_unique<CTovanFilterCtrl>(CCPoint{rect.left, rect.top}, kPlot);
    };
    hooks.lfoDisplay = [](CCRect rect, int32_t) -> std::unique_ptr<CControl> {
        return std::make_unique<CLFOWaveform>(rect);
    };
    hooks.list = [](CCRect rect, int32_t tag, LibraryListKind kind) -> std::unique_ptr<CControl> {
        auto list = std::make_unique<CLibraryList>(tag, rect, kind != LibraryListKind::FactoryPresets);
        // Slot, name, description.
        list->setColumns({4, 32, 62});
        return list;
    };
    PageBuilder builder(std::move(hooks));
    builder.build(*this, layout::frameRows());
    parts = std::move(builder.result());
}

CTovanFilterCtrl* CBackPage::filterDisplay() const {
    return dynamic_cast<CTovanFilterCtrl*>(parts.get(Role::FilterDisplay));
}

CLFOWaveform* CBackPage::lfoDisplay(int32_t filter) const {
    return dynamic_cast<CLFOWaveform*>(parts.get(filter == 0 ? Role::LfoDisplay1 : Role::LfoDisplay2));
}

CCSimpleProgress* CBackPage::progressBar() const {
    CCPageManager* m = const_cast<CBackPage*>(this)->manager();
    return m != nullptr && progressPanel != nullptr && m->modalPanel() == progressPanel ? progress : nullptr;
}

bool CBackPage::onMessage(CCMsg& msg) {
    if (msg.code == kMsgModalClosed) {
        // The store panel's button springs back once its panel is gone.
        if (auto* trigger = dynamic_cast<CControl*>(parts.get(Role::StoreButton)))
            trigger->setValue(0, Notify::no, Redraw::yes, SelfOnly::yes);
        return true;
    }
    if (msg.code == kMsgValueChanged && built) {
        // What the rules change belongs to the same action as the change itself.
        if (editor != nullptr) editor->changeOnItsWay(msg.first);
        valueChanged(msg.first, msg.second);
    }
    return false;
}

void CBackPage::valueChanged(int32_t tag, int32_t value) {
    CTovanFilterCtrl* display = filterDisplay();
    const int32_t f = filterOf(tag);
    const int32_t own = tag - kFilterStride * f; // filter 1's tag for a filter parameter
    switch (tag) {
    case kCurrentPreset:
        showPresetNumber(value);
        return;
    case kFilterBalance:
        if (display) display->setShown({.filter1 = value<100, .filter2 = value> 0});
        break;
    case kHeelHeight:
    case kHeelFrequency:
    case kToeHeight:
    case kToeFrequency:
    case kHeelHeight + kFilterStride:
    case kHeelFrequency + kFilterStride:
    case kToeHeight + kFilterStride:
    case kToeFrequency + kFilterStride:
        if (display) display->setPoint(pointTarget(own) + 6 * f, float(value), float(value));
        break;
    case kTaperFilter1:
    case kTaperFilter2:
        if (display) display->setCurve(f, -(value - kTaperOffset));
        break;
    case kLfoShape:
    case kLfoShape + kFilterStride:
        if (CLFOWaveform* lfo = lfoDisplay(f)) {
            lfo->setShape(CLFOWaveform::shapeForParameter(value));
            lfo->invalidate(false);
        }
        return;
    case kTrapezoidRise:
    case kTrapezoidFall:
    case kTrapezoidRise + kFilterStride:
    case kTrapezoidFall + kFilterStride:
        trapezoidChanged(tag, value);
        return;
    case kSyncSource:
    case kDualRate:
    case kLfoGlide:
    case kSyncSource + kFilterStride:
    case kDualRate + kFilterStride:
    case kLfoGlide + kFilterStride:
        updateLfoVisibility();
        return;
    case kSwitchMode:
        setEnabledByTag(kSwitchPosition, value > 1 && lockAllows(kSwitchPosition));
        return;
    case etag::kViewSwitch:
        viewModeChanged(value);
        return;
    case etag::kTabSelector:
        setTab(value);
        return;
    case etag::kHeelOrientation:
    case etag::kToeOrientation:
        orientationChanged(tag, value);
        break;
    case etag::kSwapFilter1:
    case etag::kSwapFilter1 + 1:
        // The button reports its press and its release; one swap a click.
        if (value == 0) return;
        swapHeelAndToe(tag - etag::kSwapFilter1);
        break;
    default:
        return;
    }
    if (!updating && display) display->invalidate(false);
}

void CBackPage::showPresetNumber(int32_t value) {
    preset = value < 0 ? 0 : value;
    const bool user = preset >= kPresetsPerBank;
    char text[8];
    std::snprintf(text, sizeof text, "%c%02u", user ? 'P' : 'F',
                  static_cast<unsigned>((user ? preset - kPresetsPerBank : preset) % kPresetsPerBank));
    if (auto* number = dynamic_cast<CCStaticTextCtrl*>(parts.get(Role::PresetNumber))) number->setText(text);
    updatePresetButtons();
}

void CBackPage::updatePresetButtons() {
    if (auto* remove = dynamic_cast<CControl*>(parts.get(Role::DeleteButton)))
        remove->setEnabled(preset >= kPresetsPerBank && !busy);
    if (auto* discard = dynamic_cast<CControl*>(parts.get(Role::DiscardButton)))
        discard->setEnabled(edited && !busy);
}

int32_t CBackPage::valueOf(int32_t tag) {
    CControl* control = firstControl(tag);
    return control != nullptr ? control->getValue() : 0;
}

void CBackPage::trapezoidChanged(int32_t tag, int32_t value) {
    const int32_t f = filterOf(tag);
    const int32_t rise = ofFilter(kTrapezoidRise, f);
    const int32_t fall = ofFilter(kTrapezoidFall, f);
    const int32_t partner = tag == rise ? fall : rise;
    // Rise and fall share one period: the partner gives way (its own change follows).
    if (value + valueOf(partner) > 100)
        if (CControl* other = firstControl(partner))
            other->setValue(100 - value, Notify::yes, Redraw::yes, SelfOnly::yes);
    if (CLFOWaveform* lfo = lfoDisplay(f)) {
        lfo->setTrapezoid(valueOf(rise), valueOf(fall));
        lfo->invalidate(false);
    }
}

void CBackPage::updateLfoVisibility() {
    const int32_t sync1 = valueOf(kSyncSource);
    const bool a = sync1 != kSyncMidi && isOn(kLfoGlide);
    setControlVisible(kLfoGlideTime, a);
    setControlVisible(kLfoGlideDepth, a || sync1 == kSyncMidi);
    setControlVisible(kRateMultiplier2, isOn(kDualRate));

    const int32_t sync2 = valueOf(ofFilter(kSyncSource, 1));
    bool glideDepth2 = false;
    if (sync2 == kSyncFilter1) {
        setControlVisible(ofFilter(kLfoGlideTime, 1), a);
    } else {
        const bool b = isOn(ofFilter(kLfoGlide, 1));
        setControlVisible(ofFilter(kLfoGlideTime, 1), b);
        glideDepth2 = b || sync2 == kSyncMidi;
    }
    setControlVisible(ofFilter(kLfoGlideDepth, 1), glideDepth2);
    setControlVisible(ofFilter(kLfoDepth, 1), !glideDepth2);
    setControlVisible(ofFilter(kRateMultiplier2, 1), isOn(ofFilter(kDualRate, 1)));
    for (Role role : {Role::FilterPanel1, Role::FilterPanel2})
        if (CCPageObject* panel = parts.get(role)) panel->invalidate(false);
}

void CBackPage::viewModeChanged(int32_t mode) {
    CTovanFilterCtrl* display = filterDisplay();
    if (display == nullptr) return;
    display->setViewMode(mode);
    resendFilterValues();
    const bool vowel = mode == CTovanFilterCtrl::kVowelChart;
    restyleFilterPanels(vowel);
    if (vowel) applyVowelOrientation();
    display->invalidate(false);
}

void CBackPage::resendFilterValues() {
    // The display lost its points with the view change; the filters' values go
    // to the page's own rules again. They are the pedal's values already, so
    // they are not sent to the pedal a second time.
    const bool wasUpdating = updating;
    updating = true;
    for (int32_t f = 0; f < 2; ++f)
        for (int32_t tag = kToeHeight; tag <= kControlMode; ++tag) {
            const int32_t own = ofFilter(tag, f);
            if (firstControl(own) != nullptr) valueChanged(own, valueOf(own));
        }
    updating = wasUpdating;
}

void CBackPage::restyleFilterPanels(bool vowelChart) {
    for (Role role : {Role::FilterPanel1, Role::FilterPanel2}) {
        if (CCPageObject* panel = parts.get(role)) {
            panel->setGroupMask(vowelChart ? 32 : 16, vowelChart ? 16 : 32);
            panel->invalidate(false);
        }
    }
    // The orientation buttons mean something only in the vowel chart.
    PageTreeView::setControlVisible(etag::kHeelOrientation, vowelChart);
    PageTreeView::setControlVisible(etag::kToeOrientation, vowelChart);
}

void CBackPage::orientationChanged(int32_t tag, int32_t value) {
    if (updating) return;
    for (CControl* control : controlsWithTag(tag))
        control->setValue(value, Notify::no, Redraw::yes, SelfOnly::yes);
    const int32_t end = tag == etag::kHeelOrientation ? 0 : 1;
    CTovanFilterCtrl* display = filterDisplay();
    if (display != nullptr && display->getOrientation(end) != (value != 0))
        display->setOrientation(end, value != 0);
    updating = true;
    if (end == 0) {
        exchangeValues(ofFilter(kHeelFrequency, 1), kHeelFrequency);
        exchangeValues(ofFilter(kHeelHeight, 1), kHeelHeight);
    } else {
        exchangeValues(ofFilter(kToeFrequency, 1), kToeFrequency);
        exchangeValues(ofFilter(kToeHeight, 1), kToeHeight);
    }
    updating = false;
}

void CBackPage::applyVowelOrientation() {
    CTovanFilterCtrl* display = filterDisplay();
    if (display == nullptr) return;
    display->updateVowelOrientation();
    for (CControl* control : controlsWithTag(etag::kHeelOrientation))
        control->setValue(display->getOrientation(0) ? 1 : 0, Notify::no, Redraw::yes, SelfOnly::yes);
    for (CControl* control : controlsWithTag(etag::kToeOrientation))
        control->setValue(display->getOrientation(1) ? 1 : 0, Notify::no, Redraw::yes, SelfOnly::yes);
}

void CBackPage::swapHeelAndToe(int32_t filter) {
    if (updating) return;
    updating = true;
    exchangeValues(ofFilter(kToeFrequency, filter), ofFilter(kHeelFrequency, filter));
    exchangeValues(ofFilter(kToeHeight, filter), ofFilter(kHeelHeight, filter));
    updating = false;
}

void CBackPage::exchangeValues(int32_t tagA, int32_t tagB) {
    CControl* a = firstControl(tagA);
    CControl* b = firstControl(tagB);
    if (a == nullptr || b == nullptr) return;
    const int32_t valueA = a->getValue();
    const int32_t valueB = b->getValue();
    a->setValue(valueB, Notify::yes, Redraw::yes, SelfOnly::yes);
    b->setValue(valueA, Notify::yes, Redraw::yes, SelfOnly::yes);
}

void CBackPage::setEnabledByTag(int32_t tag, bool on) {
    for (CControl* control : controlsWithTag(tag))
        control->setEnabled(on);
}

void CBackPage::setTab(int32_t value) {
    tab = value;
    if (auto* caption = dynamic_cast<CCStaticTextCtrl*>(parts.get(Role::ActionCaption)))
        caption->setText(value == 0 ? "Export Preset" : "Save All");
}

void CBackPage::setBusy(bool on) {
    reloading = on;
    applyBusy();
}

void CBackPage::applyBusy() {
    busy = reloading || locked;
    if (CCPageObject* overlay = parts.get(Role::BusyOverlay)) {
        overlay->setVisible(busy);
        // Through the manager: a hidden object does not ask for its own redraw,
        // and what lay under the overlay must come back on screen.
        if (CCPageManager* m = manager())
            m->invalidateObject(overlay, false);
        else
            overlay->invalidate(false);
    }
    // Ending busy does not simply enable everything: each parameter control
    // gets what the pedal's lock and the page's rules allow.
    visitDescendants([&](CCPageObject& object) {
        const int32_t tag = object.getTag();
        if ((tag >= kFirstLockedParameter && tag <= kLastParameterSlot) || isCommandTag(tag))
            if (auto* control = dynamic_cast<CControl*>(&object)) {
                // At once, not faded: a hundred fades at a time keep the window
                // drawing for seconds after a reload (and hold back the start).
                const bool allowed = mayBeEnabled(tag);
                control->setEnabled(allowed,
                                    allowed ? control->getNormalOpacity() : control->getDisabledOpacity());
            }
        return false;
    });
    updatePresetButtons();
}

bool CBackPage::lockAllows(int32_t tag) const {
    if (busy) return false;
    // A locked pedal makes its parameters not automatable.
    if (process == nullptr || isCommandTag(tag)) return true;
    const PARAMETER_MANAGER* parameters = process->parameters();
    return parameters == nullptr || parameters->Find(tag) == nullptr || parameters->IsAutomatable(tag);
}

bool CBackPage::mayBeEnabled(int32_t tag) {
    if (!lockAllows(tag)) return false;
    if (tag == kSwitchPosition) return valueOf(kSwitchMode) > 1;
    return true;
}

void CBackPage::setConnected(bool on) {
    connected = on;
    if (!on)
        for (Role role : {Role::FirmwareText, Role::HardwareText, Role::PedalNameText})
            setInfoText(role, {});
    if (CCPageObject* contents = parts.get(Role::TabContents)) {
        contents->setVisible(on);
        if (on) {
            // Showing a subtree shows all of it: put back what the rules hide.
            updateLfoVisibility();
            const bool vowel =
                filterDisplay() && filterDisplay()->getViewMode() == CTovanFilterCtrl::kVowelChart;
            PageTreeView::setControlVisible(etag::kHeelOrientation, vowel);
            PageTreeView::setControlVisible(etag::kToeOrientation, vowel);
        }
    }
    if (CCPageObject* message = parts.get(Role::NoPedalText)) message->setVisible(!on);
    invalidate(false);
}

void CBackPage::showReading(int32_t percent) {
    auto* caption = dynamic_cast<CCStaticTextCtrl*>(parts.get(Role::BusyCaption));
    auto* bar = dynamic_cast<CControl*>(parts.get(Role::ReadingBar));
    const char* text = percent >= 0 ? layout::kReadingText : layout::kBusyText;
    const bool captionChanged = caption != nullptr && caption->getText() != text;
    const bool barShown = bar != nullptr && bar->isVisible();
    if (caption != nullptr) caption->setText(text);
    if (bar != nullptr) {
        bar->setVisible(percent >= 0);
        if (percent >= 0) bar->setValue(percent, Notify::no, Redraw::no, SelfOnly::yes);
    }
    // The reading holds the page's update batch until it ends: its progress is
    // drawn now, or it would show only once it is over. A step that moves the
    // bar alone draws the bar alone.
    CCPageManager* m = manager();
    if (m == nullptr || percent < 0) return;
    const bool barOnly = barShown && !captionChanged;
    m->drawNow(barOnly ? static_cast<CCPageObject*>(bar) : parts.get(Role::BusyOverlay));
}

void CBackPage::showPedalHeld(std::string_view holder) {
    auto* message = dynamic_cast<CCStaticTextCtrl*>(parts.get(Role::NoPedalText));
    if (message == nullptr) return;
    if (noPedalText.empty()) noPedalText = message->getText();
    const std::string text =
        holder.empty() ? noPedalText
                       : "The Tovan is in use by " + std::string(holder) + ". It is read when free.";
    if (message->getText() == text) return;
    message->setText(text);
    message->invalidate(false);
}

void CBackPage::deviceInfoChanged() {
    if (process != nullptr && process->session().isConnected()) {
        setInfoText(Role::FirmwareText, versionText(process->identity().firmwareVersion()));
        setInfoText(Role::HardwareText, versionText(process->identity().secondVersion()));
        setInfoText(Role::PedalNameText, process->formatText(kDeviceName));
    }
    CTovanFilterCtrl* display = filterDisplay();
    if (display != nullptr && display->getViewMode() == CTovanFilterCtrl::kVowelChart)
        applyVowelOrientation();
    if (display != nullptr && !updating) display->invalidate(false);
    setEnabledByTag(kSwitchPosition, mayBeEnabled(kSwitchPosition));
}

void CBackPage::setlistFlagChanged(bool flag) {
    if (auto* lamp = dynamic_cast<CControl*>(parts.get(Role::SetlistFlag))) {
        lamp->setValue(flag ? 1 : 0, Notify::no, Redraw::yes, SelfOnly::yes);
        lamp->setEnabled(flag);
    }
}

void CBackPage::setLamp(Role role, bool on) {
    if (auto* lamp = dynamic_cast<CControl*>(parts.get(role)))
        lamp->setValue(on ? 1 : 0, Notify::no, Redraw::yes, SelfOnly::yes);
}

void CBackPage::showStatus(const PedalStatusView& status) {
    // Shown from the pedal: set quietly, so nothing goes back to it.
    setControlValueQuiet(kModeSwitch, status.modeSwitch ? 1 : 0);
    setLamp(Role::LampA, status.lampA);
    setLamp(Role::LampB, status.lampB);
    setLamp(Role::EditedLamp, status.edited);
    setLamp(Role::LockLamp, status.locked);
    edited = status.edited;
    if (status.locked != locked) {
        locked = status.locked;
        applyBusy();
    } else {
        updatePresetButtons();
    }
}

bool CBackPage::showMarkers(const LiveMarker& first, const LiveMarker& second) {
    CTovanFilterCtrl* display = filterDisplay();
    return display != nullptr &&
           display->setLivePositions(first.frequency, first.level, second.frequency, second.level);
}

void CBackPage::commitPendingEdits() {
    if (CTovanFilterCtrl* display = filterDisplay()) writeBackFilterPoints(*display, *this, nullptr);
}

void CBackPage::closeModalPanel() {
    CCPageManager* m = manager();
    if (m != nullptr && m->modalPanel() != nullptr) m->showModal(nullptr);
}

void CBackPage::showProgress(bool visible) {
    CCPageManager* m = manager();
    if (m == nullptr) return;
    if (!visible) {
        if (progressPanel != nullptr && m->modalPanel() == progressPanel) m->showModal(nullptr);
        progressPanel = nullptr;
        progress = nullptr;
        return;
    }
    // A panel over the whole window that no press closes while presets move.
    auto panel =
        std::make_unique<CCModalPanel>(0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top, 0, 1);
    panel->setFill(palette::kVeil);
    CCModalPanel* raw = panel.get();
    m->showModal(std::move(panel));
    PageBuilder::Hooks hooks;
    hooks.style = [this](TextStyle style) { return textStyle(style); };
    PageBuilder builder(std::move(hooks));
    builder.build(*raw, layout::progressRows());
    progressPanel = raw;
    progress = dynamic_cast<CCSimpleProgress*>(builder.result().get(Role::ProgressBar));
    // Showing drew the panel before its box was in it, and the busy loop draws
    // nothing more until the first preset has moved: draw the box now.
    m->invalidateObject(raw, false);
}

void CBackPage::setProgress(int32_t presets) {
    if (CCSimpleProgress* bar = progressBar()) bar->setValue(presets, Notify::no, Redraw::yes, SelfOnly::yes);
}

void CBackPage::effectChanged() {
    if (!built) return;
    const int32_t shown = valueOf(kCurrentPreset);
    if (shown != preset) showPresetNumber(shown);
    // A value message from the pedal enables its control by the lock alone:
    // the switch position's own rule is put back.
    setEnabledByTag(kSwitchPosition, mayBeEnabled(kSwitchPosition));
}

void CBackPage::setControlVisible(int32_t tag, bool visible) {
    PageTreeView::setControlVisible(tag, visible);
    for (const BuiltPage::Follower& follower : parts.followers)
        if (follower.tag == tag) follower.label->setVisible(visible);
}

std::string CBackPage::captionOf(int32_t tag) const {
    for (const BuiltPage::Follower& follower : parts.followers)
        if (follower.tag == tag)
            if (auto* caption = dynamic_cast<CCStaticTextCtrl*>(follower.label)) return caption->getText();
    return {};
}
