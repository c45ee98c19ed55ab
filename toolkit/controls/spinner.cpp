#include "toolkit/controls/spinner.h"

#include "toolkit/bitmap.h"
#include "toolkit/draw_context.h"
#include "toolkit/window_host.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr int32_t kSidewaysDeadZone = 7;
constexpr int32_t kHorizontalDeadZone = 4;

int64_t positiveMod(int64_t a, int64_t m) {
    const int64_t r = a % m;
    return r < 0 ? r + m : r;
}

} // namespace

CCSpinner::CCSpinner(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t stripId,
                     int32_t valuesPerTurn, int32_t initial, CCPageObject* listener, uint16_t groupMask)
    // Equal bounds switch clamping off: the value is endless.
    : CCPotControl(tag, left, top, right, bottom, 0, 0, stripId, initial, listener, groupMask),
      period(valuesPerTurn > 0 ? valuesPerTurn : 1) {}

int32_t CCSpinner::spinnerFrame(int32_t v) const {
    if (!strip) return 0;
    const int64_t count = strip->getFrameCount();
    const int64_t within = positiveMod(int64_t(v) - minimum, period) + phase;
    return int32_t(positiveMod(count * within / period, count));
}

void CCSpinner::drawContent(CCDrawContext& ctx) {
    frame = uint16_t(spinnerFrame(value));
    if (strip) ctx.drawFrame(*strip, {bounds.left + stripOffset, bounds.top}, frame);
}

void CCSpinner::turnMove(int32_t x, int32_t y) {
    const float before = lastTurn;
    positionToValue(x, y);
    double turned = double(lastTurn) - before;
    // The shorter way round: crossing the bottom is not a whole turn back.
    if (turned > 0.5) turned -= 1;
    if (turned < -0.5) turned += 1;
    turnRemainder += turned * period;
    const double whole = std::trunc(turnRemainder);
    if (whole == 0) return;
    turnRemainder -= whole;
    setValue(value + int32_t(whole), Notify::yes, Redraw::yes, SelfOnly::yes);
}

void CCSpinner::stepMove(const CCMouseMsg& msg) {
    const int32_t dx = msg.screenX - pressScreenX;
    const int32_t dy = msg.screenY - pressScreenY;
    int32_t step = 0;
    if (potDragMode() == kPotDragLinear && std::abs(dy) >= std::abs(dx))
        step = -dy;
    else if (std::abs(dx) > (potDragMode() == kPotDragLinear ? kSidewaysDeadZone - 1 : kHorizontalDeadZone))
        step = dx > 0 ? 1 : -1;
    if (step == 0) return;
    if (CCWindowHost* w = window()) w->warpCursor({pressScreenX, pressScreenY});
    setValue(value + step, Notify::yes, Redraw::yes, SelfOnly::yes);
}

bool CCSpinner::onControlMouse(CCMouseMsg& msg) {
    if (msg.code == kMsgMouseMove && hasCapture()) {
        if (potDragMode() == kPotDragCircular)
            turnMove(msg.x, msg.y);
        else
            stepMove(msg);
        return true;
    }
    const bool handled = CCPotControl::onControlMouse(msg);
    if (msg.code == kMsgLeftDown && handled) {
        turnRemainder = 0;
        positionToValue(msg.x, msg.y);
    }
    return handled;
}
