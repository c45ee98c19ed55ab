#include "toolkit/controls/mod_wheel.h"

#include "toolkit/cursor.h"
#include "toolkit/window_host.h"

#include <algorithm>

int32_t CCModWheel::cursorAt(int32_t, int32_t) {
    return isEnabled() ? kCursorPotLinear : kCursorArrow;
}

int32_t CCModWheel::dragStep(int32_t up) const {
    // A small range crosses the whole wheel in its own height rather than in
    // a hundred pixels.
    const int32_t pixels = std::max(std::min(100, bounds.height()), 1);
    return int32_t(int64_t(up) * range / pixels);
}

bool CCModWheel::onControlMouse(CCMouseMsg& msg) {
    switch (msg.code) {
    case kMsgLeftDown:
        if (!CCPageObject::hitTest({msg.x, msg.y})) return false;
        captureMouse(true);
        pressX = msg.x;
        pressY = msg.y;
        pressScreenX = msg.screenX;
        pressScreenY = msg.screenY;
        hideCursorAt(window(), msg.screenX, msg.screenY);
        return true;
    case kMsgMouseMove: {
        if (!hasCapture()) return false;
        const int32_t step = dragStep(pressScreenY - msg.screenY);
        if (step == 0) return true;
        if (CCWindowHost* w = window()) w->warpCursor({pressScreenX, pressScreenY});
        setValue(value + step, Notify::yes, Redraw::yes, SelfOnly::yes);
        return true;
    }
    default:
        return CCPotControl::onControlMouse(msg);
    }
}
