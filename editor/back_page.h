#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "editor/layout/page_builder.h"
#include "editor/page_tree_view.h"
#include "toolkit/page.h"

class CCEditor;
class CLFOWaveform;
class CTovanFilterCtrl;
class CCSimpleProgress;
class TovanProcess;

// The editor's only page: the title strip with the status lamps and window
// buttons, the tab selector and tabs, and the bottom strip. Its controls are
// built from the layout tables on the first show; the page adds the rules
// between controls that the toolkit cannot know (the preset number, the filter
// and LFO displays following their parameters, which LFO controls show, the
// heel and toe exchanges) and shows what the pedal's status says. It is also
// the link's view of the editor: values, menus, lamps and progress reach the
// controls through it, looked up by tag when used.
class CBackPage : public CCPage, public PageTreeView {
public:
    CBackPage(CCRect bounds, CCEditor* editor);
    ~CBackPage() override;

    // Builds the page the first time; later calls do nothing.
    void pageShown();
    bool isBuilt() const { return built; }
    // Handles 514 (the rules; never reported handled, so the editor routes the
    // change on) and 529 (a modal panel closed).
    bool onMessage(CCMsg& msg) override;

    // The tab shown (0 preset, 1 setlists, 2 MIDI, 3 settings) and the bottom
    // strip's action caption that goes with it.
    void setTab(int32_t tab);
    int32_t currentTab() const { return tab; }
    bool isBusy() const { return busy; }
    bool isUpdating() const { return updating; }
    // The link owner, for the device information texts.
    void setProcess(TovanProcess* owner) { process = owner; }

    // The link's view. Busy while the link reloads or the pedal is locked;
    // when busy ends, each control is enabled as the lock and the rules say.
    void setBusy(bool on) override;
    void setConnected(bool connected) override;
    void showPedalHeld(std::string_view holder) override;
    void showReading(int32_t percent) override;
    void deviceInfoChanged() override;
    void showStatus(const PedalStatusView& status) override;
    bool showMarkers(const LiveMarker& first, const LiveMarker& second) override;
    void commitPendingEdits() override;
    void closeModalPanel() override;
    void showProgress(bool visible) override;
    void setProgress(int32_t presets) override;
    // The active setlist's flag: the setlist tab's "marked" lamp shows it.
    void setlistFlagChanged(bool flag) override;
    // The pedal's state changed as a whole (a reload, another preset): the
    // preset number follows the preset selector, which takes such values quietly.
    void effectChanged() override;
    // Hides or shows the controls with the tag and the captions that go with them.
    void setControlVisible(int32_t tag, bool visible) override;

    // The caption the page shows for a parameter's control ("LEVEL"), or nothing.
    std::string captionOf(int32_t tag) const;
    CTovanFilterCtrl* filterDisplay() const;
    CLFOWaveform* lfoDisplay(int32_t filter) const;
    CCPageObject* object(Role role) const { return parts.get(role); }
    CCSimpleProgress* progressBar() const;
    const TextStyleRecord& textStyle(TextStyle style) const { return styles[static_cast<size_t>(style)]; }
    CCEditor* getEditor() const { return editor; }

private:
    void makeStyles();
    void buildControls();
    void valueChanged(int32_t tag, int32_t value);
    bool setPointFor(int32_t tag, int32_t value);
    void showPresetNumber(int32_t preset);
    void updatePresetButtons();
    void trapezoidChanged(int32_t tag, int32_t value);
    void updateLfoVisibility();
    void viewModeChanged(int32_t mode);
    void resendFilterValues();
    void restyleFilterPanels(bool vowelChart);
    void orientationChanged(int32_t tag, int32_t value);
    void applyVowelOrientation();
    void swapHeelAndToe(int32_t filter);
    // Reads both controls' values, then gives each the other's (notified).
    void exchangeValues(int32_t tagA, int32_t tagB);
    int32_t valueOf(int32_t tag);
    bool isOn(int32_t tag) { return valueOf(tag) > 0; }
    void setLamp(Role role, bool on);
    void setInfoText(Role role, const std::string& text);
    void setEnabledByTag(int32_t tag, bool on);
    void applyBusy();
    // Whether the control with the tag may be enabled now: not while busy and
    // not for a parameter the locked pedal made not automatable; with the page's
    // rules on top (the switch position only while the switch mode is above
    // "On only").
    bool lockAllows(int32_t tag) const;
    bool mayBeEnabled(int32_t tag);

    CCEditor* editor;
    TovanProcess* process = nullptr;
    std::array<TextStyleRecord, 12> styles{};
    BuiltPage parts;
    CCPageObject* progressPanel = nullptr; // the modal panel while a backup or restore runs
    CCSimpleProgress* progress = nullptr;
    int32_t tab = 0;
    int32_t preset = 0;
    bool busy = false;
    bool reloading = false; // the link's busy: a reload runs
    bool locked = false;    // the pedal's lock, from its status
    bool updating = false;
    bool built = false;
    bool edited = false;
    bool connected = true;
    // The no-pedal message as laid out, for when a pedal held elsewhere is let go.
    std::string noPedalText;
};
