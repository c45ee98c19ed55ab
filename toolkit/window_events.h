#pragma once

#include "toolkit/messages.h"

class CCPageManager;
class CCWindowHost;

// The rules by which a platform window turns its input into messages, shared by
// every window implementation.

// Numeric-keypad digits (virtual keys 96-105) travel as the characters '0'-'9'.
constexpr int32_t keyForMessage(int32_t virtualKey) {
    return virtualKey >= 96 && virtualKey <= 105 ? virtualKey - 96 + '0' : virtualKey;
}

// A left press: a 267 probe asks who takes it; only when someone wrote itself
// into the target is the mouse captured and the same message sent again as 257.
// False when nobody took the press (the platform's default handling applies).
bool dispatchLeftPress(CCPageManager& manager, CCWindowHost& window, CCMouseMsg msg);
// A left release ends the window's capture and sends 258.
bool dispatchLeftRelease(CCPageManager& manager, CCWindowHost& window, CCMouseMsg msg);
