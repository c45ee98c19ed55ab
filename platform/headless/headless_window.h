#pragma once

#include "toolkit/draw_context.h"
#include "toolkit/window_host.h"

#include <map>
#include <memory>
#include <mutex>
#include <vector>

class CCPageManager;

// A window without a display. Presents requested from any thread are queued and
// copied into an image when the owner calls presentPending on its user-interface
// thread, as a real window would on its next paint. Timers only run when fired
// by hand; the cursor is a recorded position with a visible flag and a shape.
class HeadlessWindow final : public CCWindowHost {
public:
    // The client area's size and where its corner lies on the screen.
    HeadlessWindow(int32_t width, int32_t height, CCPoint screenOrigin = {});

    void requestPresent(CCRect rect) override;
    bool startTimer(uint32_t id, uint32_t periodMs) override;
    void stopTimer(uint32_t id) override;
    void setMouseCapture(bool on) override { captured = on; }
    void setCursorVisible(bool on) override { cursorShown = on; }
    void warpCursor(CCPoint screen) override { cursor = screen; }
    void setCursorShape(int32_t id) override { shape = id; }
    CCPoint cursorScreenPosition() override { return cursor; }
    CCPoint screenToClient(CCPoint p) override { return {p.x - origin.x, p.y - origin.y}; }
    CCPoint clientToScreen(CCPoint p) override { return {p.x + origin.x, p.y + origin.y}; }

    // Copies every queued rectangle from the manager's drawing context into the
    // image under the manager's redraw lock. Answers how many were copied.
    int32_t presentPending(CCPageManager& manager);
    // The rectangles asked for and not yet presented.
    std::vector<CCRect> pendingPresents() const;
    // Sends a 518 for a running timer; false when it is not running.
    bool fireTimer(CCPageManager& manager, uint32_t id);

    bool timerRunning(uint32_t id) const { return timers.count(id) != 0; }
    uint32_t timerPeriod(uint32_t id) const;
    bool mouseCaptured() const { return captured; }
    bool cursorVisible() const { return cursorShown; }
    int32_t cursorShape() const { return shape; }
    // What reached the "screen"; null when the size was unusable.
    const CCBitmap* image() const { return screen ? &screen->surface() : nullptr; }

private:
    std::unique_ptr<CCDrawContext> screen;
    CCPoint origin;
    mutable std::mutex presentLock;
    std::vector<CCRect> presents; // present lock
    std::map<uint32_t, uint32_t> timers;
    bool captured = false;
    bool cursorShown = true;
    CCPoint cursor;
    int32_t shape = 0;
};
