#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/base_window.h"

class CAudioEffect;
class GtkMainWindow;
class CCEditor;
namespace tovan {
class HidBackend;
class HotplugMonitor;
} // namespace tovan

// The editor's host window: 640 x 650, shaped by its drawn frame, holding the
// effect object and through it the editor. It routes the system's events to
// the pedal link: pedals plugged in or out, files dropped or opened, close.
class CWin32Panel : public CBaseWindow {
public:
    CWin32Panel(tovan::HidBackend& backend, std::span<const uint8_t> firmware);
    ~CWin32Panel() override;

    // Makes the window, the effect and the editor, draws the page once and shows
    // it. False when there is nothing to run.
    bool createMainWindow();
    void Created() override;
    // Brings the window to the front (a second start asked for it).
    void raise();
    void openFiles(const std::vector<std::string>& paths);
    // Closes the editor and the window; the application then ends.
    void close();
    // Pedals were plugged in or out: connect and read the new one.
    void devicesChanged();

    CCEditor* editor() const;
    bool isForegroundWindow() const { return isForeground; }

private:
    // The pointer shapes the program draws itself, given to the window.
    void useDrawnCursors(GtkMainWindow& host);

    tovan::HidBackend& backend;
    std::span<const uint8_t> firmware;
    std::unique_ptr<CAudioEffect> effect;
    bool isForeground = false;
    std::unique_ptr<tovan::HotplugMonitor> hotplug;
    // Work queued from the hot-plug thread checks this before touching the panel.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};
