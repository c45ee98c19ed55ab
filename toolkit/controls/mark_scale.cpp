#include "toolkit/controls/mark_scale.h"

#include "toolkit/controls/meter_drawing.h"
#include "toolkit/draw_context.h"
#include "toolkit/palette.h"

namespace {

constexpr int32_t kInset = 2;
constexpr CCColour kWell = palette::kWell;

} // namespace

CCMarkScale::CCMarkScale(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                         int32_t backgroundId, int32_t minimum, int32_t maximum, int32_t mark,
                         CCPageObject* listener, uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, minimum, maximum, mark, listener, groupMask) {
    if (backgroundId != 0) setBackgroundBitmap(backgroundId);
}

CCRect CCMarkScale::scaleRect() const {
    return {bounds.left + kInset, bounds.top + kInset, bounds.right - kInset, bounds.bottom - kInset};
}

void CCMarkScale::drawWell(CCDrawContext& ctx) {
    if (CCBitmap* b = getBackgroundBitmap())
        ctx.drawBitmap(*b, {bounds.left, bounds.top});
    else
        ctx.fillRect(scaleRect(), kWell);
}

bool CCMarkScale::onControlMessage(CCMsg& msg) {
    if (msg.code == kMsgMeterReading) {
        if (msg.first != tag) return false;
        if (takeReading(msg.second)) invalidate(true);
        return true;
    }
    return CControl::onControlMessage(msg);
}

int32_t CCMarkScale::cursorAt(int32_t, int32_t) {
    return isEnabled() ? kCursorWestEast : kCursorArrow;
}

bool CCMarkScale::onControlMouse(CCMouseMsg& msg) {
    const CCPoint point{msg.x, msg.y};
    switch (msg.code) {
    case kMsgLeftDown:
        if (!CCPageObject::hitTest(point)) return false;
        captureMouse(true);
        setValue(valueAtColumn(msg.x), Notify::yes, Redraw::yes, SelfOnly::yes);
        return true;
    case kMsgMouseMove:
        if (!hasCapture()) return false;
        setValue(valueAtColumn(msg.x), Notify::yes, Redraw::yes, SelfOnly::yes);
        return true;
    case kMsgLeftUp:
        if (!hasCapture()) return false;
        captureMouse(false);
        return true;
    case kMsgWheel:
        if (!CCPageObject::hitTest(point)) return false;
        setValue(wheelValue(msg.first > 0), Notify::yes, Redraw::yes, SelfOnly::yes);
        return true;
    default:
        return false;
    }
}
