#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/geometry.h"

// One pointer event as a platform window reports it: the client position, the
// pointer's screen position at the time, the modifier keys and, for the wheel,
// the signed delta (120 a notch; away from the player is positive).
struct CCPointerEvent {
    int32_t x = 0;
    int32_t y = 0;
    int32_t screenX = 0;
    int32_t screenY = 0;
    bool shift = false;
    bool control = false;
    int32_t wheelDelta = 0;
};

// What a platform window tells the toolkit: its input, its timers, the focus,
// dropped files and the close button, and its need for pixels. The page manager
// implements it; a platform window knows only this and CCWindowHost, so the
// rules (probe before press, keypad digits, one-shot timers) live on this side.
// Everything is called on the user-interface thread.
class CCWindowClient {
public:
    virtual ~CCWindowClient() = default;

    // A left press. True when a control took it: the window then holds the
    // pointer until the release. False when nobody did: the platform lets the
    // user move the window by its background.
    virtual bool leftPressed(const CCPointerEvent& event) = 0;
    virtual void leftReleased(const CCPointerEvent& event) = 0;
    virtual void leftDoubleClicked(const CCPointerEvent& event) = 0;
    virtual void rightPressed(const CCPointerEvent& event) = 0;
    virtual void rightReleased(const CCPointerEvent& event) = 0;
    virtual void rightDoubleClicked(const CCPointerEvent& event) = 0;
    virtual void pointerMoved(const CCPointerEvent& event) = 0;
    // The wheel over the window, focused or not. False when the window does not
    // take wheel input or nothing under the pointer used it.
    virtual bool wheelTurned(const CCPointerEvent& event) = 0;
    // Keys by their virtual key code (keypad digits 96-105, letters in upper case).
    virtual void keyPressed(int32_t virtualKey) = 0;
    virtual void keyReleased(int32_t virtualKey) = 0;
    // A timer the toolkit started expired. Ids below 4097 fire once.
    virtual void timerFired(uint32_t id) = 0;
    // The window lost the keyboard focus: a text entry in progress is committed.
    virtual void focusLost() = 0;
    // The platform ended a pointer grab (another program took it, the window was
    // hidden): a drag in progress ends as if the button had been released.
    virtual void captureLost() = 0;
    virtual void filesDropped(const std::vector<std::string>& paths) = 0;
    // The window is on screen: from now on what is presented shows at once,
    // even while the user-interface thread is busy.
    virtual void windowShown() {}
    // The user asked to close the window; true when it may close now.
    virtual bool closeRequested() = 0;
    // Copies the composed pixels of `rect` (client pixels, clipped to the
    // composition) into `pixels`, whose rows are `stride` bytes apart and whose
    // first byte is the rectangle's top-left pixel; 32-bit premultiplied
    // pixels, blue first. Takes the redraw lock. False when nothing is composed.
    virtual bool copyComposed(CCRect rect, uint8_t* pixels, int32_t stride) = 0;
};
