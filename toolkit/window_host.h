#pragma once

#include "toolkit/geometry.h"

#include <cstdint>
#include <functional>

// What the page manager needs of the platform window it draws into. The platform
// implements it (GTK, headless) and feeds the window's input back through
// CCWindowClient, which the page manager implements. Except for requestPresent
// and runOnUiThread, every operation is called on the user-interface thread only.
class CCWindowHost {
public:
    virtual ~CCWindowHost() = default;

    // Asks for the composed pixels of `rect` (client pixels) to reach the screen.
    // May be called from any thread, the fade thread included; the copy itself is
    // carried out later on the user-interface thread under the redraw lock.
    virtual void requestPresent(CCRect rect) = 0;

    // A repeating timer; each expiry becomes a 518 message with the id.
    // Starting a running id restarts it. False when the platform refuses.
    virtual bool startTimer(uint32_t id, uint32_t periodMs) = 0;
    virtual void stopTimer(uint32_t id) = 0;

    // Mouse capture: while on, the window receives the mouse wherever it is.
    virtual void setMouseCapture(bool on) = 0;

    virtual void setCursorVisible(bool visible) = 0;
    // Puts the pointer at a screen point; false where the platform refuses
    // (a drag then goes on from wherever the pointer is).
    virtual bool warpCursor(CCPoint screen) = 0;
    // 0 arrow, 304 west-east, 305 north-south, 306 hand, else a program cursor.
    virtual void setCursorShape(int32_t id) = 0;
    virtual CCPoint cursorScreenPosition() = 0;
    virtual CCPoint screenToClient(CCPoint screen) = 0;
    virtual CCPoint clientToScreen(CCPoint client) = 0;

    // Runs `work` on the user-interface thread soon; callable from any thread
    // (the fade thread, hot-plug callbacks).
    virtual void runOnUiThread(std::function<void()> work) = 0;

    // Called while the user-interface thread is kept busy (a long reading of
    // the pedal drawing its progress) and the window may not be on screen yet:
    // lets the windowing system map the window and draws it whole, leaving
    // input for the loop to hand on later. Does nothing once it is on screen.
    virtual void letWindowAppear() {}
    // The program has reached a named point of its work (the start's reading
    // ended): noted where the window records what it does, for measuring.
    virtual void markReached(const char* /*what*/) {}

    // The window itself: a press on its background moves it with the pointer
    // (from that screen point), and the window commands of the title strip.
    virtual void beginMove(CCPoint /*screen*/) {}
    virtual void requestClose() {}
    virtual void minimise() {}
    virtual void setTopmost(bool /*on*/) {}
};
