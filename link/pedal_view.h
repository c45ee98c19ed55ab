#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the pedal link does to the editor's page: controls found by tag,
// menus, lamps, the device information and the editor's update batching. The
// main page implements it over its page tree; tests and the command-line tool
// use lighter views. Every operation is optional: the defaults do nothing, as
// for a page that has no such control.
struct PedalStatusView {
    bool edited = false;
    bool modeSwitch = false;
    bool lampA = false;
    bool lampB = false;
    bool locked = false;
};

struct LiveMarker {
    uint8_t level = 0;
    uint16_t frequency = 0;
};

class PedalView {
public:
    virtual ~PedalView() = default;

    // Controls by tag.
    virtual bool hasControl(int32_t /*tag*/) { return false; }
    // Sets the value with notification and redraw (a notified change comes back
    // to the link as a value change of that tag).
    virtual void setControlValue(int32_t /*tag*/, int32_t /*value*/) {}
    // Sets the value without notification.
    virtual void setControlValueQuiet(int32_t /*tag*/, int32_t /*value*/) {}
    // The range the pedal reported; in float mode the value travels unmapped.
    virtual void setControlRange(int32_t /*tag*/, int32_t /*minimum*/, int32_t /*maximum*/,
                                 bool /*floatMode*/) {}
    // Sets the value even when unchanged, with notification and redraw.
    virtual void forceControlValue(int32_t /*tag*/, int32_t /*value*/) {}
    virtual void setControlVisible(int32_t /*tag*/, bool /*visible*/) {}
    virtual void setControlEnabled(int32_t /*tag*/, bool /*enabled*/) {}
    virtual std::string controlText(int32_t /*tag*/) { return {}; }
    virtual void setControlText(int32_t /*tag*/, std::string_view /*text*/) {}

    // Menus of selectors: items go into the innermost open sub-list.
    virtual void clearMenu(int32_t /*tag*/) {}
    virtual void beginSubmenu(int32_t /*tag*/, std::string_view /*title*/) {}
    virtual void endSubmenu(int32_t /*tag*/) {}
    virtual void addMenuItem(int32_t /*tag*/, std::string_view /*text*/, std::string_view /*secondary*/,
                             int32_t /*value*/) {}
    virtual void copyMenu(int32_t /*fromTag*/, int32_t /*toTag*/) {}

    // The page as a whole. An update holds the page's redraw lock from its
    // beginning to its end (updates nest), and the page shows its changes at
    // the end, but for what is drawn at once (showReading).
    virtual void beginUpdate() {}
    virtual void endUpdate() {}
    virtual void invalidatePage() {}
    virtual void setConnected(bool /*connected*/) {}
    // The pedal is attached but another program holds it ("tovan-cli (pid 42)"),
    // or, with an empty text, no longer.
    virtual void showPedalHeld(std::string_view /*holder*/) {}
    virtual void setBusy(bool /*busy*/) {}
    // The whole pedal is being read: the share read so far (0-100), drawn at
    // once; -1 when the reading ends.
    virtual void showReading(int32_t /*percent*/) {}
    // Versions, name or identity read from the pedal changed.
    virtual void deviceInfoChanged() {}
    virtual void showStatus(const PedalStatusView& /*status*/) {}
    // The filter display's live markers; true when one moved (the display redraws).
    virtual bool showMarkers(const LiveMarker& /*first*/, const LiveMarker& /*second*/) { return false; }
    // Pushes pending drag edits of the filter display into their parameters.
    virtual void commitPendingEdits() {}
    virtual void closeModalPanel() {}
    // The progress panel of backup and restore: shown as the modal panel, with
    // its progress control counting presets (0-100).
    virtual void showProgress(bool /*visible*/) {}
    virtual void setProgress(int32_t /*presets*/) {}
    // The same for an operation on some slots: done of total, shown on the
    // progress control's scale unless the page counts them itself.
    virtual void setProgressCount(int32_t done, int32_t total) {
        setProgress(total > 0 ? done * 100 / total : 0);
    }
    // The active setlist's flag enables one control of the setlist page.
    virtual void setlistFlagChanged(bool /*flag*/) {}
    // The effect's state changed as a whole (a plug-in host would refresh its display).
    virtual void effectChanged() {}
};
