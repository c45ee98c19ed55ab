#include "toolkit/controls/pot_control.h"

#include "toolkit/bitmap_registry.h"
#include "toolkit/cursor.h"
#include "toolkit/draw_context.h"
#include "toolkit/font.h"
#include "toolkit/window_host.h"

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>

namespace {

int32_t dragMode = kPotDragHorizontal;

constexpr int32_t kLinearDeadZone = 7;     // pixels of sideways travel before a step
constexpr int32_t kHorizontalDeadZone = 4; // more than this steps in mode 2
constexpr int32_t kDefaultLabelHeight = 12;

enum EndStop : int32_t { kFree = 0, kHeldAtMaximum = 1, kHeldAtMinimum = 2 };

} // namespace

void setPotDragMode(int32_t mode) {
    dragMode = mode;
}

int32_t potDragMode() {
    return dragMode;
}

CCPotControl::CCPotControl(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                           int32_t minimum, int32_t maximum, int32_t stripId, int32_t initial,
                           CCPageObject* listener, uint16_t groupMask, int32_t offset)
    : CControl(tag, left, top, right, bottom, minimum, maximum, initial, listener, groupMask),
      stripOffset(offset) {
    takeStrip(stripId, right - left - offset);
    if (strip) usableFrames = strip->getFrameCount();
    frame = uint16_t(frameForValue(value));
}

CCPotControl::CCPotControl(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                           int32_t minimum, int32_t maximum, int32_t stripId, CCPageObject* listener,
                           uint16_t first, uint16_t last, uint16_t groupMask, int32_t offset)
    : CControl(tag, left, top, right, bottom, minimum, maximum, 0, listener, groupMask), stripOffset(offset),
      firstSkipped(first), lastSkipped(last) {
    takeStrip(stripId, right - left - offset);
    if (strip) {
        int32_t count = strip->getFrameCount();
        usableFrames = uint16_t(count);
        // Skipping that leaves no frame is ignored rather than shown as garbage.
        if (first < count && last < count && count - first - last > 0)
            usableFrames = uint16_t(count - last - first);
        else
            firstSkipped = 0;
    }
    frame = uint16_t(frameForValue(value));
}

CCPotControl::~CCPotControl() {
    if (strip) releaseBitmap(strip);
}

void CCPotControl::takeStrip(int32_t stripId, int32_t frameWidth) {
    strip = frameWidth > 0 ? acquireStrip(stripId, frameWidth) : nullptr;
}

int32_t CCPotControl::frameForValue(int32_t v) const {
    if (maximum == minimum) return 0;
    int64_t f = int64_t(v - minimum) * usableFrames / (int64_t(maximum) - minimum) + firstSkipped;
    return int32_t(std::clamp<int64_t>(f, 0, 0xFFFF));
}

void CCPotControl::boundsChanged() {
    CControl::boundsChanged();
    int32_t height = labelFont ? labelFontHeight : kDefaultLabelHeight;
    labelRect = {bounds.left + 1, bounds.bottom - height, bounds.right, bounds.bottom};
}

void CCPotControl::layoutLabel(int32_t letters) {
    CCFontInterface* f = labelFont ? static_cast<CCFontInterface*>(labelFont.get()) : font();
    if (!f || letters <= 0) return;
    int32_t wanted = f->textWidth(std::string(size_t(letters), 'A'));
    int32_t saved = labelRect.width() - wanted;
    if (saved <= 2) return;
    labelRect.left += saved / 2;
    labelRect.right -= saved - saved / 2;
}

void CCPotControl::drawContent(CCDrawContext& ctx) {
    frame = uint16_t(frameForValue(value));
    if (!strip) return;
    ctx.drawFrame(*strip, {bounds.left + stripOffset, bounds.top}, frame);
}

int32_t CCPotControl::cursorAt(int32_t, int32_t) {
    if (!isEnabled()) return kCursorArrow;
    switch (dragMode) {
    case kPotDragCircular:
        return kCursorPotCircular;
    case kPotDragLinear:
        return kCursorPotLinear;
    default:
        return kCursorWestEast;
    }
}

bool CCPotControl::pointerAngle(int32_t x, int32_t y, double& radians) {
    const int32_t cx = bounds.left + (bounds.right - bounds.left) / 2;
    const int32_t cy = bounds.top + (bounds.bottom - bounds.top) / 2;
    const double dx = cx - x;
    const double dy = cy - y;
    const double r = std::sqrt(dx * dx + dy * dy);
    if (r == 0) return false;
    double t = std::acos(dx / r);
    if (dy <= 0) {
        t = -t;
        if (dx <= 0) t += 2 * std::numbers::pi;
    }
    lastTurn = float(t / (2 * std::numbers::pi) + 0.25);
    radians = t;
    return true;
}

float CCPotControl::positionToValue(int32_t x, int32_t y) {
    double t = 0;
    // The centre has no angle: keep the last answer.
    if (!pointerAngle(x, y, t)) return lastPosition;
    return (lastTurn - arcStart) * arcScale;
}

void CCPotControl::circularMove(int32_t x, int32_t y) {
    const float previous = lastPosition;
    const float b = positionToValue(x, y);
    const float turn = lastTurn;
    if (previous > 1 && b < 0)
        crossing = 0;
    else if (previous < 0 && b > 1)
        crossing = 1;
    else
        crossing = b <= previous ? 1 : 0;
    lastPosition = b;

    bool apply = true;
    if (!wrap) {
        const bool dead = turn > arcEnd || turn < arcStart;
        const bool lowHalf = !dead && turn <= 0.5f;
        const bool highHalf = !dead && !lowHalf;
        // Held at an end, the knob stays there until the pointer is back on
        // that end's half: coming round the other way must not make it jump
        // across the range (from 100 to 25, say) in the middle of a song.
        if (endStop == kHeldAtMaximum) {
            if (highHalf)
                endStop = kFree;
            else
                apply = false;
        } else if (endStop == kHeldAtMinimum) {
            if (lowHalf)
                endStop = kFree;
            else
                apply = false;
        } else if (dead) {
            endStop = crossing == 0 ? kHeldAtMaximum : kHeldAtMinimum;
        }
    }
    if (!apply) return;
    const uint8_t savedFloat = floatMode;
    floatMode = 0;
    const int32_t v = fromNormalised(b);
    floatMode = savedFloat;
    setValue(v, Notify::yes, Redraw::yes, SelfOnly::yes);
}

void CCPotControl::stepMove(const CCMouseMsg& msg, int32_t mode) {
    const int32_t dx = msg.screenX - pressScreenX;
    const int32_t dy = msg.screenY - pressScreenY;
    int32_t step = 0;
    if (mode == kPotDragLinear) {
        if (std::abs(dy) < std::abs(dx))
            step = std::abs(dx) < kLinearDeadZone ? 0 : (dx > 0 ? 1 : -1);
        else
            step = int32_t(-(float(range) / 100.0f * float(dy)));
    } else {
        step = std::abs(dx) > kHorizontalDeadZone ? (dx > 0 ? 1 : -1) : 0;
    }
    // Without a step the cursor stays where it is, so small movements add up.
    if (step == 0) return;
    // The pointer goes back to where the drag started; where the platform will
    // not move it, the next step is measured from here instead. Without a
    // window (tests) the pointer counts as put back.
    CCWindowHost* w = window();
    if (w != nullptr && !w->warpCursor({pressScreenX, pressScreenY})) {
        pressScreenX = msg.screenX;
        pressScreenY = msg.screenY;
    }
    setValue(value + step, Notify::yes, Redraw::yes, SelfOnly::yes);
}

bool CCPotControl::onControlMouse(CCMouseMsg& msg) {
    switch (msg.code) {
    case kMsgLeftDown: {
        if (!CCPageObject::hitTest({msg.x, msg.y})) return false;
        captureMouse(true);
        pressX = msg.x;
        pressY = msg.y;
        if (dragMode == kPotDragCircular) {
            lastPosition = positionToValue(msg.x, msg.y);
            endStop = kFree;
        } else {
            pressScreenX = msg.screenX;
            pressScreenY = msg.screenY;
            hideCursorAt(window(), msg.screenX, msg.screenY);
        }
        return true;
    }
    case kMsgMouseMove:
        if (!hasCapture()) return false;
        if (dragMode == kPotDragCircular) {
            circularMove(msg.x, msg.y);
            return true;
        }
        stepMove(msg, dragMode);
        return true;
    case kMsgLeftUp:
        if (!hasCapture()) return false;
        captureMouse(false);
        showCursorAt(window(), rememberedCursorPosition().x, rememberedCursorPosition().y);
        return true;
    case kMsgWheel:
        if (!CCPageObject::hitTest({msg.x, msg.y})) return false;
        setValue(msg.first <= 0 ? value - 1 : value + 1, Notify::yes, Redraw::yes, SelfOnly::yes);
        return true;
    default:
        return false;
    }
}
