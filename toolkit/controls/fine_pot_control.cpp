#include "toolkit/controls/fine_pot_control.h"

#include "toolkit/window_host.h"

#include <cstdlib>

namespace {

constexpr int32_t kPixelsPerStep = 10;
constexpr int32_t kCoarseStep = 10;

} // namespace

int32_t CCFinePotControl::dragStep(int32_t dx, int32_t dy, bool fine) {
    const int32_t travel = std::abs(dy) < std::abs(dx) ? dx : -dy;
    const int32_t steps = travel / kPixelsPerStep;
    return fine ? steps : steps * kCoarseStep;
}

bool CCFinePotControl::onControlMouse(CCMouseMsg& msg) {
    switch (msg.code) {
    case kMsgMouseMove: {
        if (!hasCapture() || potDragMode() == kPotDragCircular) break;
        const int32_t step = dragStep(msg.screenX - pressScreenX, msg.screenY - pressScreenY, msg.shiftDown);
        if (step == 0) return true;
        if (CCWindowHost* w = window()) w->warpCursor({pressScreenX, pressScreenY});
        setValue(value + step, Notify::yes, Redraw::yes, SelfOnly::yes);
        return true;
    }
    case kMsgWheel: {
        if (!CCPageObject::hitTest({msg.x, msg.y})) return false;
        const int32_t step = msg.shiftDown ? 1 : kCoarseStep;
        setValue(msg.first > 0 ? value + step : value - step, Notify::yes, Redraw::yes, SelfOnly::yes);
        return true;
    }
    default:
        break;
    }
    return CCPotControl::onControlMouse(msg);
}
