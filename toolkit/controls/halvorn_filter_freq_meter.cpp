#include "toolkit/controls/halvorn_filter_freq_meter.h"

#include "toolkit/controls/meter_drawing.h"
#include "toolkit/draw_context.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kInset = 2;
constexpr double kWheelRatio = 1.0594630943592953; // a twelfth of an octave
constexpr CCColour kWell{20, 15, 12, 255};
constexpr CCColour kNeedle{255, 170, 40, 255};
constexpr CCColour kNeedleGlow{255, 170, 40, 90};
constexpr CCColour kMark{255, 250, 208, 255};

} // namespace

CHalvornFilterFreqMeter::CHalvornFilterFreqMeter(int32_t tag, int32_t left, int32_t top, int32_t right,
                                                 int32_t bottom, int32_t backgroundId, int32_t minimumHz,
                                                 int32_t maximumHz, int32_t markHz, CCPageObject* listener,
                                                 uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, std::max(minimumHz, 1), std::max(maximumHz, minimumHz + 1),
               markHz, listener, groupMask) {
    if (backgroundId != 0) setBackgroundBitmap(backgroundId);
}

CCRect CHalvornFilterFreqMeter::scaleRect() const {
    return {bounds.left + kInset, bounds.top + kInset, bounds.right - kInset, bounds.bottom - kInset};
}

int32_t CHalvornFilterFreqMeter::columnFor(int32_t hz) const {
    const CCRect s = scaleRect();
    const double f = std::clamp(hz, minimum, maximum);
    const double share = std::log(f / minimum) / std::log(double(maximum) / minimum);
    return s.left + int32_t(std::lround(share * (s.width() - 1)));
}

int32_t CHalvornFilterFreqMeter::frequencyAtColumn(int32_t x) const {
    const CCRect s = scaleRect();
    if (s.width() <= 1) return minimum;
    const double share = std::clamp(double(x - s.left) / (s.width() - 1), 0.0, 1.0);
    const double hz = minimum * std::pow(double(maximum) / minimum, share);
    return std::clamp(int32_t(std::lround(hz)), minimum, maximum);
}

void CHalvornFilterFreqMeter::drawContent(CCDrawContext& ctx) {
    const CCRect s = scaleRect();
    if (CCBitmap* b = getBackgroundBitmap())
        ctx.drawBitmap(*b, {bounds.left, bounds.top});
    else
        ctx.fillRect(s, kWell);
    if (live > 0) {
        const int32_t x = columnFor(live);
        ctx.fillRect({x - 2, s.top, x + 3, s.bottom}, kNeedleGlow);
        ctx.fillRect({x, s.top, x + 1, s.bottom}, kNeedle);
    }
    const int32_t markX = columnFor(value);
    ctx.fillRect({markX, s.top, markX + 1, s.bottom}, kMark);
    ctx.fillRect({markX - 2, s.bottom - 2, markX + 3, s.bottom}, kMark);
}

bool CHalvornFilterFreqMeter::onControlMessage(CCMsg& msg) {
    if (msg.code == kMsgMeterReading) {
        if (msg.first != tag) return false;
        const int32_t next = msg.second > 0 ? std::clamp(msg.second, minimum, maximum) : 0;
        if (next != live) {
            live = next;
            invalidate(true);
        }
        return true;
    }
    return CControl::onControlMessage(msg);
}

int32_t CHalvornFilterFreqMeter::cursorAt(int32_t, int32_t) {
    return isEnabled() ? kCursorWestEast : kCursorArrow;
}

bool CHalvornFilterFreqMeter::onControlMouse(CCMouseMsg& msg) {
    const CCPoint point{msg.x, msg.y};
    switch (msg.code) {
    case kMsgLeftDown:
        if (!CCPageObject::hitTest(point)) return false;
        captureMouse(true);
        setValue(frequencyAtColumn(msg.x), true, true, true);
        return true;
    case kMsgMouseMove:
        if (!hasCapture()) return false;
        setValue(frequencyAtColumn(msg.x), true, true, true);
        return true;
    case kMsgLeftUp:
        if (!hasCapture()) return false;
        captureMouse(false);
        return true;
    case kMsgWheel: {
        if (!CCPageObject::hitTest(point)) return false;
        const double ratio = msg.first > 0 ? kWheelRatio : 1 / kWheelRatio;
        int32_t next = int32_t(std::lround(value * ratio));
        // Low frequencies still move by at least one hertz.
        if (next == value) next += msg.first > 0 ? 1 : -1;
        setValue(next, true, true, true);
        return true;
    }
    default:
        return false;
    }
}
