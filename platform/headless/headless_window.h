#pragma once

#include "toolkit/draw_context.h"
#include "toolkit/window_host.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CCWindowClient;

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
    bool warpCursor(CCPoint screen) override {
        if (!warps) return false;
        cursor = screen;
        return true;
    }
    void setCursorShape(int32_t id) override { shape = id; }
    CCPoint cursorScreenPosition() override { return cursor; }
    CCPoint screenToClient(CCPoint p) override { return {p.x - origin.x, p.y - origin.y}; }
    CCPoint clientToScreen(CCPoint p) override { return {p.x + origin.x, p.y + origin.y}; }
    // Work for the user-interface thread waits until runPendingWork.
    void runOnUiThread(std::function<void()> work) override;
    void beginMove(CCPoint screen) override { moves.push_back(screen); }
    void requestClose() override { ++closeRequests; }
    void minimise() override { ++minimiseRequests; }
    void setTopmost(bool on) override { topmost = on; }
    void letWindowAppear() override { ++appearRequests; }
    void markReached(const char* what) override { marks.emplace_back(what); }

    // Asks the client for the pixels of every queued rectangle and puts them in
    // the image, as a paint would. Answers how many were copied.
    int32_t presentPending(CCWindowClient& client);
    // The rectangles asked for and not yet presented.
    std::vector<CCRect> pendingPresents() const;
    // Tells the client a running timer expired; false when it is not running.
    bool fireTimer(CCWindowClient& client, uint32_t id);
    // Runs the work queued for the user-interface thread; answers how much ran.
    int32_t runPendingWork();
    // Whether the cursor can be warped (a platform may refuse).
    void setWarpAllowed(bool on) { warps = on; }

    // The window commands received.
    std::vector<CCPoint> moves;
    int32_t closeRequests = 0;
    int32_t minimiseRequests = 0;
    bool topmost = false;
    int32_t appearRequests = 0;
    std::vector<std::string> marks;

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
    std::vector<std::function<void()>> work; // present lock
    bool warps = true;
    bool captured = false;
    bool cursorShown = true;
    CCPoint cursor;
    int32_t shape = 0;
};
