#include "toolkit/controls/halvorn_threshold_meter.h"

#include "toolkit/controls/meter_drawing.h"
#include "toolkit/draw_context.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kInset = 2;
constexpr CCColour kWell{20, 15, 12, 255};
constexpr CCColour kBelow{150, 96, 30, 255};
constexpr CCColour kAbove{255, 190, 70, 255};
constexpr CCColour kMark{255, 250, 208, 255};

} // namespace

CHalvornThresholdCMeter::CHalvornThresholdCMeter(int32_t tag, int32_t left, int32_t top, int32_t right,
                                                 int32_t bottom, int32_t backgroundId, int32_t minimum,
                                                 int32_t maximum, int32_t threshold, CCPageObject* listener,
                                                 uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, minimum, maximum, threshold, listener, groupMask),
      level(minimum) {
    if (backgroundId != 0) setBackgroundBitmap(backgroundId);
}

CCRect CHalvornThresholdCMeter::scaleRect() const {
    return {bounds.left + kInset, bounds.top + kInset, bounds.right - kInset, bounds.bottom - kInset};
}

int32_t CHalvornThresholdCMeter::columnFor(int32_t v) const {
    const CCRect s = scaleRect();
    return s.left + meterFill(v, minimum, maximum, s.width() - 1);
}

int32_t CHalvornThresholdCMeter::valueAtColumn(int32_t x) const {
    const CCRect s = scaleRect();
    if (s.width() <= 1) return minimum;
    const double share = double(x - s.left) / (s.width() - 1);
    return std::clamp(minimum + int32_t(std::lround(share * (int64_t(maximum) - minimum))), minimum, maximum);
}

void CHalvornThresholdCMeter::drawContent(CCDrawContext& ctx) {
    const CCRect s = scaleRect();
    if (CCBitmap* b = getBackgroundBitmap())
        ctx.drawBitmap(*b, {bounds.left, bounds.top});
    else
        ctx.fillRect(s, kWell);
    const int32_t levelX = columnFor(level) + (level > minimum ? 1 : 0);
    const int32_t markX = columnFor(value);
    const CCRect bar{s.left, s.top + 3, levelX, s.bottom - 3};
    ctx.fillRect({bar.left, bar.top, std::min(bar.right, markX), bar.bottom}, kBelow);
    if (bar.right > markX) ctx.fillRect({markX, bar.top, bar.right, bar.bottom}, kAbove);
    ctx.fillRect({markX, s.top, markX + 1, s.bottom}, kMark);
    ctx.fillRect({markX - 2, s.top, markX + 3, s.top + 2}, kMark);
}

bool CHalvornThresholdCMeter::onControlMessage(CCMsg& msg) {
    if (msg.code == kMsgMeterReading) {
        if (msg.first != tag) return false;
        const int32_t next = std::clamp(msg.second, minimum, maximum);
        if (next != level) {
            level = next;
            invalidate(true);
        }
        return true;
    }
    return CControl::onControlMessage(msg);
}

int32_t CHalvornThresholdCMeter::cursorAt(int32_t, int32_t) {
    return isEnabled() ? kCursorWestEast : kCursorArrow;
}

bool CHalvornThresholdCMeter::onControlMouse(CCMouseMsg& msg) {
    const CCPoint point{msg.x, msg.y};
    switch (msg.code) {
    case kMsgLeftDown:
        if (!CCPageObject::hitTest(point)) return false;
        captureMouse(true);
        setValue(valueAtColumn(msg.x), true, true, true);
        return true;
    case kMsgMouseMove:
        if (!hasCapture()) return false;
        setValue(valueAtColumn(msg.x), true, true, true);
        return true;
    case kMsgLeftUp:
        if (!hasCapture()) return false;
        captureMouse(false);
        return true;
    case kMsgWheel:
        if (!CCPageObject::hitTest(point)) return false;
        setValue(msg.first > 0 ? value + 1 : value - 1, true, true, true);
        return true;
    default:
        return false;
    }
}
