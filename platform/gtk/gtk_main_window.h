#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/window_client.h"
#include "toolkit/window_host.h"

// The editor's one top-level window on GTK 3 (X11): undecorated, of a fixed
// size, cut to the outline of its drawn frame, showing the toolkit's composed
// pixels and handing its input to a CCWindowClient. Everything is called on
// the GTK thread except requestPresent and runOnUiThread.
class GtkMainWindow : public CCWindowHost {
public:
    GtkMainWindow(int32_t width, int32_t height, std::string_view title);
    ~GtkMainWindow() override;
    GtkMainWindow(const GtkMainWindow&) = delete;
    GtkMainWindow& operator=(const GtkMainWindow&) = delete;

    void setClient(CCWindowClient* client);
    // What runs when the window should close (the close button, the window
    // manager's close, requestClose); the default hides the window.
    void setCloseHandler(std::function<void()> handler);

    // Cuts the window to the composed frame's outline (key colour outside). Only
    // recomputed when the outline changed.
    void updateShape();
    void show();
    void present();
    void hide();
    void moveTo(CCPoint topLeft);
    CCPoint position() const;
    // The work area of the screen the window is on (x, y, width, height).
    CCRect workArea() const;
    bool isForeground() const;
    bool isIconified() const;

    // CCWindowHost
    void requestPresent(CCRect rect) override;
    bool startTimer(uint32_t id, uint32_t periodMs) override;
    void stopTimer(uint32_t id) override;
    void setMouseCapture(bool on) override;
    void setCursorVisible(bool visible) override;
    bool warpCursor(CCPoint screen) override;
    void setCursorShape(int32_t id) override;
    CCPoint cursorScreenPosition() override;
    CCPoint screenToClient(CCPoint screen) override;
    CCPoint clientToScreen(CCPoint client) override;
    void runOnUiThread(std::function<void()> work) override;
    void beginMove(CCPoint screen) override;
    void requestClose() override;
    void minimise() override;
    void setTopmost(bool on) override;
    void letWindowAppear() override;
    void markReached(const char* what) override;

    // A drawn pointer shape for a cursor id: 32-bit premultiplied pixels, blue
    // first, `stride` bytes a row, with its hot spot. Ids without one use the
    // desktop theme's nearest shape.
    void setCursorImage(int32_t id, const uint8_t* pixels, int32_t width, int32_t height, int32_t stride,
                        CCPoint hotSpot);

    // Files dropped on the window go to the client; this is how the desktop's
    // "open with" reaches the editor too.
    void openFiles(const std::vector<std::string>& paths);
    // The GtkWindow, for dialogs that must stay above it (as a void*: no GTK
    // types in this header).
    void* nativeWindow() const;
    // The widget an inline edit box is placed in.
    void* overlayWidget() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl;
};
